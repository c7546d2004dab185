// The settings block: finding it in any bytes, parsing whatever was found,
// and the round trips of a block made from values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/settingsblock.h"
#include "fuzzcheck.h"

namespace {

// A file name as a block can hold it: no line ends.
std::string NAMEFROM(std::string_view bytes) {
    std::string name;
    for (char c : bytes)
        if (c != '\r' && c != '\n')
            name += c;
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view input(reinterpret_cast<const char *>(data), size);

    // Any bytes: the offset found lies inside the buffer, and the block found
    // parses without harm.
    const int64_t found = FINDSETTINGSBLOCK(input.data(), input.size());
    FUZZCHECK(found >= -1 && found < static_cast<int64_t>(size));
    if (found >= 0) {
        FUZZCHECK(input[static_cast<size_t>(found)] == '\r');
        const PARSEDSETTINGSBLOCK parsed = PARSESETTINGSBLOCK(input.substr(static_cast<size_t>(found)));
        FUZZCHECK(parsed.Project.ResourceFile.size() <= SETTINGSMAXNAME);
        FUZZCHECK(parsed.Project.OutputFile.size() <= SETTINGSMAXNAME);
    }
    HEXVALUE(input);

    // Values taken from the input make a block that reads back the same.
    if (size < 12)
        return 0;
    int64_t caret = 0;
    for (int i = 0; i < 8; ++i)
        caret = static_cast<int64_t>((static_cast<uint64_t>(caret) << 8) | data[i]);
    caret &= 0x7FFFFFFFFFFFFFFF;
    const int32_t compilerType = data[8] & 1;
    PROJECTSETTINGSRECORD project;
    project.TargetType = static_cast<int32_t>(data[9] % 5);
    const std::string_view rest = input.substr(12);
    std::string folds;
    for (size_t i = 0; i < rest.size() && i < data[10]; ++i)
        folds += (rest[i] & 1) ? '1' : '0';
    const size_t split = rest.size() / 2;
    project.ResourceFile = NAMEFROM(rest.substr(0, split)).substr(0, SETTINGSMAXNAME);
    project.OutputFile = NAMEFROM(rest.substr(split)).substr(0, SETTINGSMAXNAME);

    const std::string block = BUILDSETTINGSBLOCK(caret, folds, compilerType, project);
    const PARSEDSETTINGSBLOCK parsed = PARSESETTINGSBLOCK(block);
    FUZZCHECK(!parsed.OlderForm);
    FUZZCHECK(parsed.Caret == caret);
    FUZZCHECK(parsed.FoldStates == folds);
    if (compilerType != 1) {
        FUZZCHECK(parsed.Project.TargetType == project.TargetType);
        FUZZCHECK(parsed.Project.ResourceFile == project.ResourceFile);
        FUZZCHECK(parsed.Project.OutputFile == project.OutputFile);
    } else {
        FUZZCHECK(parsed.Project.TargetType == 0 && parsed.Project.ResourceFile.empty() &&
                  parsed.Project.OutputFile.empty());
    }

    // A listing with the block appended is cut exactly where the block begins.
    const std::string_view listing = input.substr(0, data[11] % (size + 1));
    const std::string file = std::string(listing) + block;
    FUZZCHECK(FINDSETTINGSBLOCK(file.data(), file.size()) == static_cast<int64_t>(listing.size()));
    // Code appended after the block makes the whole file text.
    const std::string appended = file + "\r\nPrint 1";
    FUZZCHECK(FINDSETTINGSBLOCK(appended.data(), appended.size()) == -1);
    return 0;
}
