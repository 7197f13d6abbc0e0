// A chart taken out as a picture for paper (chart_paper.h): to the clipboard, to a file as PNG or
// SVG, or to a printer.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace evo {

class Chart;
class Dialogs;

// The chart's picture with the caption under it, drawn at the screen's pixel ratio and at least
// at twice its size in pixels.
QImage ChartImage(const Chart& chart, const QStringList& caption);
void CopyImage(const Chart& chart, const QStringList& caption);

// Asks where to save the chart's picture, as PNG or SVG, in SaveFolder() with a name that says
// what (such as "gene-counts") and when, and writes it there whole.
void SaveImageAs(const Chart& chart, const QStringList& caption, const QString& what,
                 Dialogs& dialogs);

// Asks for a printer through the print dialog, which offers to print to a PDF file in
// SaveFolder() named as a picture is, and prints the chart's picture on one page, as large as
// the page allows.
void PrintChart(const Chart& chart, const QStringList& caption, const QString& what,
                Dialogs& dialogs);

}  // namespace evo
