// The items of a line of text that screen readers ask for: the character, word, sentence or line
// at, before or after an offset.
#pragma once

#include <QAccessible>
#include <QString>

namespace evo {

enum class ItemPlace { At, Before, After };

// The item of the kind at, before or after offset in a text of one line, its bounds in start and
// end. An offset of -1 stands for the end of the text, which holds no item; an offset outside the
// text has none either (bounds -1). Every item is found within the text's ends, however it is
// asked for.
QString TextItem(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
                 ItemPlace place, int* start, int* end);

}  // namespace evo
