#include "CopyPrediction.h"

#include "script/LocationTokens.h"
#include "script/TextCase.h"

bool PredictedCopy::MeasuredUnderAnotherName() const
{
    return !SameText(measuredName, SourceName());
}

std::vector<PredictedCopy> PredictCopies(const SetupScript& script)
{
    const LocationTable folders = TokenNamedFolders();
    std::vector<PredictedCopy> copies;
    int disk = 1;
    for (const std::string& value : script.copyFiles) {
        PredictedCopy copy;
        copy.number = static_cast<int>(copies.size()) + 1;
        copy.value = value;
        copy.entry = ParseCopyEntry(value, "", folders);
        // Each marked entry asks for the next disk, and every later source
        // is read from there.
        if (copy.entry.diskChange) ++disk;
        copy.disk = disk;
        copy.measuredName = MeasuredSourceName(value);
        copies.push_back(std::move(copy));
    }
    return copies;
}
