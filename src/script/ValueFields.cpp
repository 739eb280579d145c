#include "script/ValueFields.h"

#include "script/TextCase.h"
#include "script/TextParts.h"

SplitText SplitAtFirst(const std::string& text, const std::string& separator)
{
    const int at = TokenPos(separator, text);
    if (at == 0) return {text, {}, false};
    return {LeftStr(text, at - 1), MidStr(text, at + static_cast<int>(separator.size())), true};
}

std::string TakeLeadingField(std::string& rest)
{
    const int comma = TokenPos(",", rest);
    std::string field = LeftStr(rest, comma - 1);
    rest = MidStr(rest, comma + 1);
    return field;
}
