#include "common/text_items.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace evo {
namespace {

struct Span {
  int start;
  int end;
};

// The item of the kind that holds the character at offset (0 <= offset < the text's length). A
// line of text is one line and one paragraph.
Span ItemAt(const QString& text, int offset, QAccessible::TextBoundaryType boundary) {
  QTextBoundaryFinder::BoundaryType type = QTextBoundaryFinder::Grapheme;
  switch (boundary) {
    case QAccessible::CharBoundary:
      break;
    case QAccessible::WordBoundary:
      type = QTextBoundaryFinder::Word;
      break;
    case QAccessible::SentenceBoundary:
      type = QTextBoundaryFinder::Sentence;
      break;
    default:
      return {0, static_cast<int>(text.size())};
  }
  QTextBoundaryFinder finder(type, text);
  finder.setPosition(offset);
  const qsizetype start = finder.isAtBoundary() ? offset : finder.toPreviousBoundary();
  finder.setPosition(offset);
  const qsizetype end = finder.toNextBoundary();
  return {static_cast<int>(std::max<qsizetype>(start, 0)),
          static_cast<int>(end < 0 ? text.size() : end)};
}

QString Bounded(const QString& text, Span span, int* start, int* end) {
  *start = span.start;
  *end = span.end;
  return text.mid(span.start, span.end - span.start);
}

}  // namespace

QString TextItem(const QString& text, int offset, QAccessible::TextBoundaryType boundary,
                 ItemPlace place, int* start, int* end) {
  const int length = static_cast<int>(text.size());
  if (offset == -1) offset = length;
  if (offset < 0 || offset > length) return Bounded({}, {-1, -1}, start, end);
  // The item that holds the offset; the end of the text holds an empty one.
  const Span here = offset < length ? ItemAt(text, offset, boundary) : Span{length, length};
  switch (place) {
    case ItemPlace::At:
      return Bounded(text, here, start, end);
    case ItemPlace::Before:
      if (here.start == 0) return Bounded(text, {0, 0}, start, end);
      return Bounded(text, ItemAt(text, here.start - 1, boundary), start, end);
    case ItemPlace::After:
      if (here.end >= length) return Bounded(text, {length, length}, start, end);
      return Bounded(text, ItemAt(text, here.end, boundary), start, end);
  }
  return Bounded({}, {-1, -1}, start, end);
}

}  // namespace evo
