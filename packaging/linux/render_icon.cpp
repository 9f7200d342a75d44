// Draws SVG artwork into PNG or ICO files at build time: the hicolor icons, and for builds without
// Qt Svg (Windows) every picture of the resources and the program's icon.
//   render_icon INPUT.svg SIZE OUTPUT.png   a square of SIZE pixels
//   render_icon INPUT.svg xN OUTPUT.png     N times the drawing's own size
//   render_icon INPUT.svg ico OUTPUT.ico    a Windows icon of the usual sizes

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

QImage Render(QSvgRenderer& renderer, QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  painter.end();
  return image;
}

void Append16(QByteArray& out, int value) {
  const quint16 le = qToLittleEndian(static_cast<quint16>(value));
  out.append(reinterpret_cast<const char*>(&le), 2);
}

void Append32(QByteArray& out, qint64 value) {
  const quint32 le = qToLittleEndian(static_cast<quint32>(value));
  out.append(reinterpret_cast<const char*>(&le), 4);
}

// ICONDIR, one ICONDIRENTRY per size, then each image as PNG (read since Windows Vista).
QByteArray IconFile(QSvgRenderer& renderer) {
  const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 256};
  std::vector<QByteArray> pngs;
  for (const int size : sizes) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    Render(renderer, QSize(size, size)).save(&buffer, "PNG");
    pngs.push_back(png);
  }
  QByteArray out;
  Append16(out, 0);
  Append16(out, 1);
  Append16(out, static_cast<int>(pngs.size()));
  qint64 offset = 6 + 16 * static_cast<qint64>(pngs.size());
  for (std::size_t i = 0; i < pngs.size(); ++i) {
    const int size = sizes[i] == 256 ? 0 : sizes[i];  // 0 stands for 256
    out.append(static_cast<char>(size)).append(static_cast<char>(size)).append('\0').append('\0');
    Append16(out, 1);
    Append16(out, 32);
    Append32(out, pngs[i].size());
    Append32(out, offset);
    offset += pngs[i].size();
  }
  for (const QByteArray& png : pngs) out.append(png);
  return out;
}

bool Write(const char* name, const QByteArray& bytes) {
  QFile file(QString::fromLocal8Bit(name));
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::fputs("usage: render_icon INPUT.svg SIZE|xN|ico OUTPUT\n", stderr);
    return 2;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "render_icon: %s: not a drawable SVG file\n", argv[1]);
    return 1;
  }
  bool written = false;
  if (std::strcmp(argv[2], "ico") == 0) {
    written = Write(argv[3], IconFile(renderer));
  } else {
    const bool scaled = argv[2][0] == 'x';
    const int number = std::atoi(argv[2] + (scaled ? 1 : 0));
    if (number <= 0) {
      std::fprintf(stderr, "render_icon: %s: not a size\n", argv[2]);
      return 2;
    }
    const QSize size = scaled ? renderer.defaultSize() * number : QSize(number, number);
    written = Render(renderer, size).save(QString::fromLocal8Bit(argv[3]), "PNG");
  }
  if (!written) {
    std::fprintf(stderr, "render_icon: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
