#pragma once

#include <QString>

// The exact text of every line written into the markup document, the case rules,
// and where area lines go. Documents here are texts whose lines end in "\n" or
// "\r\n" (the tag list holds "\n"; the clipboard gets "\r\n").
namespace MapMarkup {

enum class LetterCase { Small, Capital };

// Upper-cases the ASCII letters a to z only; everything else stays.
QString asciiUpper(const QString &text);

// <img src="photo.jpg" usemap="#photo" width=640 height=480 border=0>
// In capital mode all but the file name is upper-cased.
QString imageLine(const QString &fileName, const QString &mapName, int width, int height,
                  LetterCase letterCase);
// <map name="photo">
QString mapLine(const QString &mapName, LetterCase letterCase);
// </map>
QString closingLine(LetterCase letterCase);

// Area heads as drawing builds them, always in small letters (the case rule is
// applied when the link tail is added).
//   `  <area shape="rect" coords="12,34`
QString areaHead(const QString &shape, int x, int y);
//   `  <area shape="rect" coords="10,20 110,90` (smaller values first on each axis)
QString rectHead(const QString &shape, int x0, int y0, int x1, int y1);
//   pending + " 40"
QString withRadius(const QString &pending, int radius);
//   pending + " 350,140"
QString withVertex(const QString &pending, int x, int y);
//   `  <area shape="rect" coords="0,0 640,480`
QString defaultAreaHead(int width, int height);

// The finished area line: pending + `" href="` (upper-cased together in capital
// mode) + href + optional `" target="` + target + `">`.
QString withLinkTail(const QString &pending, const QString &href, const QString &target,
                     LetterCase letterCase);

// Lines as the tag list counts them: one empty line after the final line break is
// not a line; an empty document has none.
int lineCount(const QString &document);
// Character position where the area line goes (in front of the last line), or -1
// for a document without lines.
int areaInsertPosition(const QString &document);
// The document with `line` and a line break inserted in front of its last line,
// using the document's own line break; unchanged when it has no lines.
QString insertAreaLine(const QString &document, const QString &line);

// "\n" line breaks turned into "\r\n" (an existing "\r\n" stays as it is).
QString withCrLf(const QString &text);

} // namespace MapMarkup
