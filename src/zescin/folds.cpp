// Fold headers found at the document's own speed. Reading the fold level of
// every line through the message interface costs tens of nanoseconds a
// line, milliseconds on a listing of half a million lines; reading it from
// the document costs a few.
#include "folds.h"

#include <cstddef>
#include <forward_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ScintillaTypes.h"
#include "ILoader.h"
#include "ILexer.h"
#include "Debugging.h"
#include "CharacterCategoryMap.h"
#include "Position.h"
#include "SplitVector.h"
#include "Partitioning.h"
#include "RunStyles.h"
#include "CellBuffer.h"
#include "PerLine.h"
#include "CharClassify.h"
#include "Decoration.h"
#include "CaseFolder.h"
#include "Document.h"

using namespace Scintilla::Internal;

sptr_t FoldHeaderNext(void *document, sptr_t from) {
    if (!document || from < 0)
        return -1;
    const Document &doc = *static_cast<const Document *>(document);
    const Sci::Line lines = doc.LinesTotal();
    for (Sci::Line line = from; line < lines; ++line)
        if (Scintilla::LevelIsHeader(doc.GetFoldLevel(line)))
            return line;
    return -1;
}
