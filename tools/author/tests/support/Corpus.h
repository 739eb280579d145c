// The compression test corpus, made at test time from fixed seeds so that
// no large file is kept in the repository: an empty file, one byte, text,
// binary, highly repetitive, random, and a 10 MiB mixture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CorpusFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

std::vector<CorpusFile> MakeCorpus();
