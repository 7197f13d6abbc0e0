// A chart as a picture for paper or a slide: its title, the chart in dark marks on white whatever
// the desktop's palette, and a caption of the settings that made the figures.
#pragma once

#include <QPalette>
#include <QSize>
#include <QStringList>
#include <vector>

#include "views/charts/chart_data.h"

class QPainter;

namespace evo {

class Chart;
class GenerationRecord;

// The picture's size in its own units; a device of another size scales it.
inline constexpr QSize kPaperPictureSize{480, 360};

// Black on white, with a dark blue for the marks.
QPalette PaperPalette();

// The settings of the record's last row and the generations it covers, in lines of a caption:
// "Population size 100, good mutation probability 0.1 (bad 0.9), 10 mutations per cycle", ...
// None for an empty record.
QStringList SettingsCaption(const GenerationRecord& record);

// The same settings, by name, for a workbook.
std::vector<SettingRow> SettingRows(const GenerationRecord& record);

// Draws the picture over the area of kPaperPictureSize from the painter's origin, white first.
void DrawOnPaper(QPainter& painter, const Chart& chart, const QStringList& caption);

}  // namespace evo
