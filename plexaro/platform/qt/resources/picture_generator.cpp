// Draws Plexaro's About picture and program icon. The PNGs it writes are kept in this folder;
// run it again only to change them:  plexaro_picture_generator OUTPUT_FOLDER
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdio>

namespace {

// The viewer's own colours, so the pictures look like the board window.
const QColor kOutline(255, 0, 0);
const QColor kPart(0, 128, 128);
const QColor kPin(0, 0, 255);
const QColor kNail(255, 0, 255);
const QColor kLabel(255, 255, 0);

// A small board on a unit square: outline, one part with its pins and two nails.
void drawIcon(QPainter& p, double size) {
  p.save();
  p.scale(size / 32.0, size / 32.0);
  p.setRenderHint(QPainter::Antialiasing, true);
  QPainterPath board;
  board.addRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
  p.fillPath(board, Qt::black);
  p.setPen(QPen(kOutline, 1.6));
  p.drawRoundedRect(QRectF(2.5, 2.5, 27, 27), 5, 5);
  p.setPen(QPen(kPart, 1.4));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(8, 9, 16, 12));
  p.setPen(Qt::NoPen);
  p.setBrush(kPin);
  for (int i = 0; i < 4; ++i) {
    p.drawRect(QRectF(9.5 + i * 3.8, 10.5, 2, 2));
    p.drawRect(QRectF(9.5 + i * 3.8, 17.5, 2, 2));
  }
  p.setBrush(kNail);
  p.drawRect(QRectF(7, 24, 3, 3));
  p.drawRect(QRectF(22, 24, 3, 3));
  p.restore();
}

QImage icon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  drawIcon(p, size);
  return image;
}

QImage aboutPicture() {
  constexpr int kWidth = 377, kHeight = 257;
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0, QColor(16, 24, 48));
  sky.setColorAt(1, QColor(4, 6, 14));
  p.fillRect(image.rect(), sky);

  // A board below the icon and version, drawn as the viewer draws one.
  const QRectF board(24, 64, 329, 150);
  p.fillRect(board, Qt::black);
  p.setPen(QPen(kOutline, 2));
  p.drawRoundedRect(board.adjusted(4, 4, -4, -4), 14, 14);
  QFont label(QStringLiteral("Liberation Sans"));
  label.setPixelSize(10);
  p.setFont(label);
  struct Part {
    QRectF box;
    const char* name;
    int pins;
  };
  const Part parts[] = {{{48, 84, 64, 40}, "U1", 6},   {{136, 84, 44, 22}, "R12", 2},
                        {{204, 84, 90, 48}, "U7", 8},  {{48, 150, 30, 30}, "C3", 2},
                        {{104, 146, 80, 44}, "U4", 6}, {{212, 156, 40, 24}, "Q2", 3},
                        {{276, 150, 50, 40}, "U9", 4}};
  for (const Part& part : parts) {
    p.setPen(QPen(kPart, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(part.box);
    p.setPen(Qt::NoPen);
    p.setBrush(kPin);
    const double step = (part.box.width() - 8) / std::max(1, part.pins - 1);
    for (int i = 0; i < part.pins; ++i) {
      p.drawRect(QRectF(part.box.left() + 2 + i * step, part.box.bottom() - 6, 4, 4));
    }
    p.setPen(kLabel);
    p.drawText(QPointF(part.box.left() + 3, part.box.top() + 12), QString::fromLatin1(part.name));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(kNail);
  const QPointF nails[] = {{70, 138}, {160, 120}, {196, 140}, {262, 140}, {300, 198}, {90, 198}};
  for (QPointF n : nails) p.drawRect(QRectF(n.x() - 2, n.y() - 2, 5, 5));

  QFont title(QStringLiteral("Liberation Sans"));
  title.setPixelSize(26);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QPointF(24, 244), QStringLiteral("Plexaro"));
  QFont subtitle(QStringLiteral("Liberation Sans"));
  subtitle.setPixelSize(12);
  p.setFont(subtitle);
  p.setPen(QColor(180, 190, 210));
  p.drawText(QPointF(140, 242), QStringLiteral("fixture board viewer"));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app{argc, argv};
  if (argc != 2) {
    std::fprintf(stderr, "usage: plexaro_picture_generator OUTPUT_FOLDER\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const bool ok = aboutPicture().save(out.filePath(QStringLiteral("about.png"))) &&
                  icon(33).save(out.filePath(QStringLiteral("icon33.png"))) &&
                  icon(128).save(out.filePath(QStringLiteral("icon128.png")));
  if (!ok) std::fprintf(stderr, "plexaro_picture_generator: cannot write the pictures\n");
  return ok ? 0 : 1;
}
