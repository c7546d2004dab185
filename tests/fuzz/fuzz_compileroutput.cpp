// The build's text rules on any input: the compile directive scan, the error
// line in FreeBASIC output, the error position in a PowerBASIC log, and the
// command lines with their cut.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiling/buildrules.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2)
        return 0;
    const std::string_view input(reinterpret_cast<const char *>(data + 2), size - 2);
    const size_t split = data[0] < input.size() ? data[0] : input.size();
    const std::string_view name = input.substr(0, split);
    const std::string_view text = input.substr(split);

    // The directive: the name lies between quotes of one of the lines looked at.
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        lines.emplace_back(text.substr(start, end - start));
        start = end;
    }
    std::string directive = "unset";
    SCANCOMPILEDIRECTIVE(lines, directive);
    if (!directive.empty() && directive != "unset") {
        bool inALine = false;
        for (size_t i = 0; i < lines.size() && i < DIRECTIVESCANLINES && !inALine; ++i)
            inALine = lines[i].find(directive) != std::string::npos;
        FUZZCHECK(inALine);
    }

    // The output as shown is a prefix of the output, without zero bytes.
    const std::string shown = OUTPUTSHOWN(text);
    FUZZCHECK(shown.size() <= COMPILEROUTPUTBYTES);
    FUZZCHECK(text.substr(0, shown.size()) == shown);
    FUZZCHECK(shown.find('\0') == std::string::npos);
    const int64_t line = FINDERRORLINE(shown, name);
    FUZZCHECK(line >= -1);
    if (line >= 0)
        FUZZCHECK(!name.empty() && (shown.find(std::string(name) + "(") != std::string::npos ||
                                    shown.find(std::string(name) + "\"(") != std::string::npos));

    const LOGERRORPOSITION position = FINDLOGERROR(text);
    if (position.Found)
        FUZZCHECK(position.Line >= 0 && position.Column >= 0 && text.find("Error ") != std::string_view::npos);

    // Command lines keep to their cut whatever the names.
    FUZZCHECK(FREEBASICCOMMANDLINE(name, text, data[1] % 6, text, name).size() <= MAXCOMMANDCHARS);
    FUZZCHECK(POWERBASICCOMMANDLINE(name, text, name).size() <= MAXCOMMANDCHARS);
    const std::string log = LOGFILENAME(text);
    FUZZCHECK(log.size() <= text.size() + 4 && log.size() >= 3);
    FUZZCHECK(log.compare(log.size() - 3, 3, "log") == 0);
    FREEBASICPROGRAM(text, data[1] % 6, name);
    return 0;
}
