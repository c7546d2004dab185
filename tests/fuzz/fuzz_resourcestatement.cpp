// The resource statement scan of PowerBASIC listings and the resource name
// rules: any listing, any names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzzcheck.h"
#include "resfiles/resrules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view input(reinterpret_cast<const char *>(data), size);

    // The listing's lines, each with its line end, as the editor gives them.
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < input.size()) {
        size_t end = input.find('\n', start);
        end = end == std::string_view::npos ? input.size() : end + 1;
        lines.emplace_back(input.substr(start, end - start));
        start = end;
    }
    const RESOURCESTATEMENT found = FINDRESOURCESTATEMENT(lines);
    FUZZCHECK(found.Status == RESSTATEMENTFOUND || found.Status == RESSTATEMENTMISSING ||
              found.Status == RESSTATEMENTBADFORMAT);
    if (found.Status == RESSTATEMENTFOUND) {
        // The name lies between two double quotes of one of the lines looked at.
        FUZZCHECK(found.Name.find('"') == std::string::npos);
        bool inALine = false;
        for (size_t i = 0; i < lines.size() && i < RESOURCESCANLINES && !inALine; ++i)
            inALine = lines[i].find('"' + found.Name + '"') != std::string::npos;
        FUZZCHECK(inALine);
    } else {
        FUZZCHECK(found.Name.empty());
    }

    // The name rules on both halves of the input.
    const std::string_view listing = input.substr(0, size / 2);
    const std::string_view name = input.substr(size / 2);
    FUZZCHECK(RESOLVERESOURCENAME(listing, name).size() <= RESOURCENAMEMAX);
    const std::string pbres = PBRESOURCENAME(listing, name);
    PROPOSEDRESOURCENAME(listing);
    const std::string res = PBRTORES(name);
    FUZZCHECK(res.size() >= 3 && res.size() <= name.size() + 3);
    // What the quoting hands to the tool is checked by fuzz_argquote; here
    // only that a plain name goes as it is and any other in quotes.
    const std::string quoted = QUOTEARGUMENT(name);
    if (!name.empty() && name.find_first_of(" \t\"") == std::string_view::npos)
        FUZZCHECK(quoted == name);
    else
        FUZZCHECK(quoted.size() >= name.size() + 2 && quoted.front() == '"' && quoted.back() == '"');
    const std::string command = TOOLCOMMANDLINE(listing, (size & 1) != 0, name);
    FUZZCHECK(command.size() >= listing.size() + 1 + name.size());
    return 0;
}
