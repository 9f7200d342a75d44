#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace tarvola::ui {

// A picture of the resources named without its extension (":/main/tree/1_folder"). Builds without
// an SVG renderer carry the same artwork drawn to PNG at build time, at 1x and 2x.
QString ArtworkFile(const QString& stem);
// The picture at SIZE, drawn for the screen's pixel density so it stays sharp at 144 DPI.
QPixmap ArtworkPixmap(const QString& stem, QSize size);

}  // namespace tarvola::ui
