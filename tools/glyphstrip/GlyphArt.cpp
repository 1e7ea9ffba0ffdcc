// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlyphArt.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>

namespace {

using TDrawing = void (*)(QPainter &);

// Tango palette.
const QColor Ink(0x2e, 0x34, 0x36);
const QColor Slate(0x55, 0x57, 0x53);
const QColor Aluminium(0xd3, 0xd7, 0xcf);
const QColor Sky(0x34, 0x65, 0xa4);
const QColor DeepSky(0x20, 0x4a, 0x87);
const QColor Chameleon(0x4e, 0x9a, 0x06);
const QColor LightChameleon(0x73, 0xd2, 0x16);
const QColor Scarlet(0xcc, 0x00, 0x00);
const QColor DeepScarlet(0xa4, 0x00, 0x00);
const QColor LightScarlet(0xef, 0x29, 0x29);
const QColor Butter(0xfc, 0xe9, 0x4f);
const QColor DeepButter(0xc4, 0xa0, 0x00);
const QColor Chocolate(0x8f, 0x59, 0x02);

void Letters(QPainter &painter, const QRect &box, const QString &text, int pixelSize,
             const QColor &colour) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(true);
  font.setHintingPreference(QFont::PreferFullHinting);
  painter.setFont(font);
  painter.setPen(colour);
  painter.drawText(box, Qt::AlignCenter, text);
}

// A stroke with a darker rim: the dark wide pen first, the light narrow one on top.
void RimmedStroke(QPainter &painter, const QPainterPath &path, const QColor &rim,
                  const QColor &fill, qreal width) {
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(rim, width + 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(path);
  painter.setPen(QPen(fill, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(path);
}

QPainterPath Polyline(std::initializer_list<QPointF> points) {
  QPainterPath path;
  bool first = true;
  for (const QPointF &point : points) {
    if (first)
      path.moveTo(point);
    else
      path.lineTo(point);
    first = false;
  }
  return path;
}

void Tick(QPainter &painter, const QRectF &box) {
  const auto at = [&box](qreal x, qreal y) {
    return QPointF(box.left() + x * box.width(), box.top() + y * box.height());
  };
  RimmedStroke(painter, Polyline({at(0.1, 0.55), at(0.4, 0.85), at(0.9, 0.15)}), Chameleon,
               LightChameleon, box.width() / 6.0);
}

void Cross(QPainter &painter, const QRectF &box) {
  QPainterPath path = Polyline({box.topLeft(), box.bottomRight()});
  path.addPath(Polyline({box.topRight(), box.bottomLeft()}));
  RimmedStroke(painter, path, DeepScarlet, LightScarlet, box.width() / 5.0);
}

// A window frame: white body, dark border and a title bar of the given colour. Pixel exact,
// so painted without antialiasing; rect is its outer size.
void Window(QPainter &painter, const QRect &rect, const QColor &title) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(rect, Slate);
  painter.fillRect(rect.adjusted(1, 1, -1, -1), Qt::white);
  painter.fillRect(QRect(rect.left() + 1, rect.top() + 1, rect.width() - 2, 2), title);
  painter.restore();
}

void TextLine(QPainter &painter, int x, int y, int length, const QColor &colour = Slate) {
  painter.fillRect(QRect(x, y, length, 1), colour);
}

// Flags fill 16 x 11 pixels (rows 3 to 13) inside a one-pixel grey rim.
const QRect FlagArea(1, 4, 14, 9);

void FlagRim(QPainter &painter) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(0, 3, 16, 11), Slate);
}

void HorizontalStripes(QPainter &painter, const std::array<QColor, 3> &colours,
                       const std::array<int, 3> &heights) {
  FlagRim(painter);
  int y = FlagArea.top();
  for (int stripe = 0; stripe < 3; ++stripe) {
    painter.fillRect(QRect(FlagArea.left(), y, FlagArea.width(), heights[stripe]), colours[stripe]);
    y += heights[stripe];
  }
}

void VerticalStripes(QPainter &painter, const std::array<QColor, 3> &colours) {
  FlagRim(painter);
  const std::array<int, 3> widths{5, 4, 5};
  int x = FlagArea.left();
  for (int stripe = 0; stripe < 3; ++stripe) {
    painter.fillRect(QRect(x, FlagArea.top(), widths[stripe], FlagArea.height()), colours[stripe]);
    x += widths[stripe];
  }
}

void FlagBritish(QPainter &painter) {
  const QColor blue(0x01, 0x21, 0x69), red(0xc8, 0x10, 0x2e);
  FlagRim(painter);
  painter.fillRect(FlagArea, blue);
  // The saltire pixel by pixel: white within reach of either diagonal, red on its centre line.
  const qreal w = FlagArea.width(), h = FlagArea.height();
  const qreal length = std::hypot(w, h);
  for (int y = 0; y < FlagArea.height(); ++y) {
    for (int x = 0; x < FlagArea.width(); ++x) {
      const qreal px = x + 0.5, py = y + 0.5;
      const qreal distance =
          qMin(std::abs(h * px - w * py), std::abs(h * px - w * (h - py))) / length;
      if (distance < 1.2) {
        painter.fillRect(QRect(FlagArea.left() + x, FlagArea.top() + y, 1, 1),
                         distance < 0.45 ? red : QColor(Qt::white));
      }
    }
  }
  painter.fillRect(QRect(6, FlagArea.top(), 4, FlagArea.height()), Qt::white);
  painter.fillRect(QRect(FlagArea.left(), 7, FlagArea.width(), 3), Qt::white);
  painter.fillRect(QRect(7, FlagArea.top(), 2, FlagArea.height()), red);
  painter.fillRect(QRect(FlagArea.left(), 8, FlagArea.width(), 1), red);
}

void FlagDutch(QPainter &painter) {
  HorizontalStripes(painter, {QColor(0xae, 0x1c, 0x28), Qt::white, QColor(0x21, 0x46, 0x8b)},
                    {3, 3, 3});
}

void FlagAmerican(QPainter &painter) {
  FlagRim(painter);
  for (int row = 0; row < FlagArea.height(); ++row) {
    painter.fillRect(QRect(FlagArea.left(), FlagArea.top() + row, FlagArea.width(), 1),
                     row % 2 == 0 ? QColor(0xb2, 0x22, 0x34) : QColor(Qt::white));
  }
  const QRect canton(FlagArea.left(), FlagArea.top(), 7, 5);
  painter.fillRect(canton, QColor(0x3c, 0x3b, 0x6e));
  for (int y = canton.top() + 1; y < canton.bottom(); y += 2) {
    for (int x = canton.left() + 1 + (y / 2) % 2; x < canton.right(); x += 2) {
      painter.fillRect(QRect(x, y, 1, 1), Qt::white);
    }
  }
}

void FlagFrench(QPainter &painter) {
  VerticalStripes(painter, {QColor(0x00, 0x55, 0xa4), Qt::white, QColor(0xef, 0x41, 0x35)});
}

void FlagGerman(QPainter &painter) {
  HorizontalStripes(painter,
                    {QColor(0x10, 0x10, 0x10), QColor(0xdd, 0x00, 0x00), QColor(0xff, 0xce, 0x00)},
                    {3, 3, 3});
}

void FlagItalian(QPainter &painter) {
  VerticalStripes(painter, {QColor(0x00, 0x92, 0x46), Qt::white, QColor(0xce, 0x2b, 0x37)});
}

void FlagSpanish(QPainter &painter) {
  HorizontalStripes(painter,
                    {QColor(0xaa, 0x15, 0x1b), QColor(0xf1, 0xbf, 0x00), QColor(0xaa, 0x15, 0x1b)},
                    {2, 5, 2});
}

void CloseMark(QPainter &painter) { Cross(painter, QRectF(9, 9, 5, 5)); }

// A green arrow in the lower right corner, pointing right: "next", "into", "start".
void CornerArrow(QPainter &painter) {
  const QPolygonF arrow({QPointF(6.5, 10), QPointF(10, 10), QPointF(10, 7), QPointF(15.5, 12),
                         QPointF(10, 17), QPointF(10, 14), QPointF(6.5, 14)});
  painter.setPen(QPen(Chameleon, 1.0));
  painter.setBrush(LightChameleon);
  painter.drawPolygon(arrow.translated(0, -1.5));
}

void CornerUpArrow(QPainter &painter) {
  painter.translate(11.5, 10.5);
  painter.rotate(-90);
  painter.translate(-11.5, -11.5);
  CornerArrow(painter);
}

void CornerPlay(QPainter &painter) {
  painter.setPen(QPen(Chameleon, 1.0));
  painter.setBrush(LightChameleon);
  painter.drawPolygon(QPolygonF({QPointF(8.5, 7.5), QPointF(15.5, 11.5), QPointF(8.5, 15.5)}));
}

// A small gear in the lower right corner: "set up", "customise".
void CornerGear(QPainter &painter) {
  const QPointF centre(11.5, 11.5);
  QPolygonF gear;
  for (int point = 0; point < 32; ++point) {
    // Each of the eight teeth is four corners: two on the outer circle, two on the inner one.
    const qreal radius = (point % 4 == 1 || point % 4 == 2) ? 4.4 : 3.1;
    const qreal angle = (point + 0.5) * 2 * M_PI / 32;
    gear << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
  }
  painter.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::white);
  painter.drawPolygon(gear);
  painter.setPen(QPen(Ink, 1.0));
  painter.setBrush(Slate);
  painter.drawPolygon(gear);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  painter.drawEllipse(centre, 1.3, 1.3);
}

void SpecialStar(QPainter &painter) {
  QPolygonF star;
  for (int point = 0; point < 10; ++point) {
    const qreal radius = point % 2 == 0 ? 4.6 : 2.0;
    const qreal angle = M_PI / 2 + point * M_PI / 5;
    star << QPointF(11.5 + radius * std::cos(angle), 11.0 - radius * std::sin(angle));
  }
  painter.setPen(QPen(Chocolate, 1.0));
  painter.setBrush(Butter);
  painter.drawPolygon(star);
}

void SpellCheck(QPainter &painter) {
  Letters(painter, QRect(0, 0, 16, 9), QStringLiteral("abc"), 8, Ink);
  Tick(painter, QRectF(3, 7.5, 11, 7));
}

void WordCount(QPainter &painter) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const QRect &word :
       {QRect(1, 1, 4, 2), QRect(7, 1, 8, 2), QRect(1, 4, 7, 2), QRect(10, 4, 5, 2)}) {
    painter.fillRect(word, Slate);
  }
  painter.setRenderHint(QPainter::Antialiasing, true);
  Letters(painter, QRect(0, 6, 16, 10), QStringLiteral("123"), 9, DeepSky);
}

void WordWrap(QPainter &painter) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(1, 2, 14, 2), Slate);
  painter.fillRect(QRect(1, 6, 9, 2), Slate);
  painter.fillRect(QRect(1, 13, 6, 2), Slate);
  painter.setRenderHint(QPainter::Antialiasing, true);
  QPainterPath hook;
  hook.moveTo(10.5, 7);
  hook.lineTo(12, 7);
  hook.arcTo(QRectF(10, 7, 4.5, 4.5), 90, -180);
  hook.lineTo(6, 11.5);
  painter.setPen(QPen(Sky, 1.6, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  painter.drawPath(hook);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Sky);
  painter.drawPolygon(QPolygonF({QPointF(3, 11.5), QPointF(7, 8.5), QPointF(7, 14.5)}));
}

void LowerCase(QPainter &painter) {
  Letters(painter, QRect(0, 0, 16, 16), QStringLiteral("ab"), 12, DeepSky);
}
void UpperCase(QPainter &painter) {
  Letters(painter, QRect(0, 0, 16, 16), QStringLiteral("AB"), 11, DeepSky);
}
void Capitalize(QPainter &painter) {
  Letters(painter, QRect(0, 0, 16, 16), QStringLiteral("Ab"), 12, DeepSky);
}
void ToggleCase(QPainter &painter) {
  Letters(painter, QRect(0, 0, 16, 16), QStringLiteral("aB"), 12, DeepSky);
}

void TitleCase(QPainter &painter) {
  Letters(painter, QRect(0, -1, 16, 9), QStringLiteral("Ab"), 9, DeepSky);
  Letters(painter, QRect(0, 7, 16, 9), QStringLiteral("Cd"), 9, DeepSky);
}

void TileWindows(QPainter &painter) {
  Window(painter, QRect(0, 0, 16, 8), Sky);
  Window(painter, QRect(0, 8, 16, 8), Sky);
}

void CascadeWindows(QPainter &painter) {
  Window(painter, QRect(0, 0, 10, 9), Aluminium);
  Window(painter, QRect(3, 3, 10, 9), Aluminium);
  Window(painter, QRect(6, 6, 10, 10), Sky);
}

void ArrangeIcons(QPainter &painter) {
  // Minimised windows lined up along the bottom, and the arrow that puts them there.
  for (int x : {0, 5, 10}) Window(painter, QRect(x, 11, 6, 5), Sky);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(7, 0, 2, 6), Chameleon);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Chameleon);
  painter.drawPolygon(QPolygonF({QPointF(4, 5), QPointF(12, 5), QPointF(8, 9.5)}));
}

void ToolBarSetup(QPainter &painter) {
  Window(painter, QRect(0, 1, 16, 12), Sky);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(1, 4, 14, 3), Aluminium);
  painter.fillRect(QRect(2, 5, 2, 1), Scarlet);
  painter.fillRect(QRect(5, 5, 2, 1), Chameleon);
  painter.fillRect(QRect(8, 5, 2, 1), Sky);
  painter.setRenderHint(QPainter::Antialiasing, true);
  CornerGear(painter);
}

void RestoreWindow(QPainter &painter) {
  Window(painter, QRect(0, 1, 13, 12), Sky);
  painter.setRenderHint(QPainter::Antialiasing, true);
  CornerUpArrow(painter);
}

void StayOnTop(QPainter &painter) {
  Window(painter, QRect(0, 0, 11, 10), Aluminium);
  Window(painter, QRect(4, 5, 12, 11), Sky);
  // A push pin holding the front window.
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(Slate, 1.4, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(10, 10), QPointF(7.5, 12.5));
  painter.setPen(QPen(DeepScarlet, 1.0));
  painter.setBrush(LightScarlet);
  painter.drawEllipse(QPointF(11.5, 8.5), 2.6, 2.6);
}

void StatusBar(QPainter &painter) {
  Window(painter, QRect(0, 1, 16, 14), Sky);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(1, 10, 14, 4), Aluminium);
  painter.fillRect(QRect(1, 10, 14, 1), Slate);
  painter.fillRect(QRect(8, 11, 1, 3), Slate);
  painter.fillRect(QRect(11, 11, 1, 3), Slate);
  TextLine(painter, 2, 12, 4, Ink);
}

void ButtonHint(QPainter &painter) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(2, 5, 14, 9), Slate);
  painter.fillRect(QRect(3, 6, 12, 7), QColor(0xff, 0xff, 0xcc));
  TextLine(painter, 5, 8, 8);
  TextLine(painter, 5, 10, 6);
  // The mouse pointer the hint belongs to.
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QPolygonF arrow({QPointF(0.5, 0.5), QPointF(0.5, 8), QPointF(2.5, 6), QPointF(4, 9),
                         QPointF(5.2, 8.4), QPointF(3.8, 5.5), QPointF(6.2, 5.5)});
  painter.setPen(QPen(Ink, 1.0));
  painter.setBrush(Qt::white);
  painter.drawPolygon(arrow);
}

void LightBulb(QPainter &painter) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(DeepButter, 1.0));
  painter.setBrush(Butter);
  QPainterPath bulb;
  bulb.addEllipse(QRectF(2.5, 0.5, 11, 10));
  bulb.addRect(QRectF(5.5, 8, 5, 3));
  painter.drawPath(bulb.simplified());
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(5, 11, 6, 4), Slate);
  painter.fillRect(QRect(6, 12, 4, 1), Aluminium);
  painter.fillRect(QRect(7, 15, 2, 1), Ink);
  painter.fillRect(QRect(6, 3, 2, 2), Qt::white);
}

void Scales(QPainter &painter) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(7, 1, 2, 12), Chocolate);
  painter.fillRect(QRect(4, 13, 8, 2), Chocolate);
  painter.fillRect(QRect(1, 3, 14, 1), Chocolate);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(Slate, 0.9));
  for (qreal centre : {3.0, 13.0}) {
    painter.drawLine(QPointF(centre, 3.5), QPointF(centre - 2.3, 8.5));
    painter.drawLine(QPointF(centre, 3.5), QPointF(centre + 2.3, 8.5));
  }
  painter.setPen(QPen(Chocolate, 1.0));
  painter.setBrush(DeepButter);
  for (qreal centre : {3.0, 13.0}) {
    painter.drawChord(QRectF(centre - 3, 6.5, 6, 5), 180 * 16, 180 * 16);
  }
}

void RedCross(QPainter &painter) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(1, 1, 14, 14), Slate);
  painter.fillRect(QRect(2, 2, 12, 12), Qt::white);
  painter.fillRect(QRect(6, 3, 4, 10), Scarlet);
  painter.fillRect(QRect(3, 6, 10, 4), Scarlet);
}

void OkMark(QPainter &painter) { Tick(painter, QRectF(1, 2, 14, 12)); }
void CancelMark(QPainter &painter) { Cross(painter, QRectF(3.5, 3.5, 9, 9)); }

void HelpMark(QPainter &painter) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(DeepSky, 1.0));
  painter.setBrush(Sky);
  painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  Letters(painter, QRect(0, 0, 16, 16), QStringLiteral("?"), 12, Qt::white);
}

void InformationMark(QPainter &painter) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(DeepSky, 1.0));
  painter.setBrush(Sky);
  painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(7, 3, 2, 2), Qt::white);
  painter.fillRect(QRect(7, 6, 2, 7), Qt::white);
  painter.fillRect(QRect(6, 6, 1, 1), Qt::white);
  painter.fillRect(QRect(6, 12, 4, 1), Qt::white);
}

void ReplaceWord(QPainter &painter) {
  Letters(painter, QRect(0, -1, 16, 9), QStringLiteral("ab"), 10, Slate);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(1, 4, 14, 1), Scarlet);
  painter.setRenderHint(QPainter::Antialiasing, true);
  Letters(painter, QRect(0, 7, 16, 9), QStringLiteral("cd"), 10, DeepSky);
}

void AddWord(QPainter &painter) {
  Letters(painter, QRect(-1, -2, 12, 12), QStringLiteral("ab"), 10, DeepSky);
}

struct TEntry {
  const char *meaning;
  const char *base;     // Tango 16 x 16 icon, "program" for the program icon, or nullptr
  TDrawing drawing;     // drawn over the base, or nullptr
  const char *drawn;    // what the drawing shows, for the README
  const char *overlay;  // Tango icon shrunk into the lower right corner, or nullptr
};

const char *const ProgramIcon = "program";

// Index by index, the order in which the program refers to its glyphs.
const TEntry Table[] = {
    {"New document", "actions/document-new", nullptr, nullptr, nullptr},
    {"Open", "actions/document-open", nullptr, nullptr, nullptr},
    {"Save", "actions/document-save", nullptr, nullptr, nullptr},
    {"Save As", "actions/document-save-as", nullptr, nullptr, nullptr},
    {"Print", "actions/document-print", nullptr, nullptr, nullptr},
    {"Print Preview", "actions/document-print-preview", nullptr, nullptr, nullptr},
    {"Printer Setup", "devices/printer", CornerGear, "drawn gear", nullptr},
    {"Exit", "actions/system-log-out", nullptr, nullptr, nullptr},
    {"Close document", "mimetypes/text-x-generic", CloseMark, "drawn red cross", nullptr},
    {"Send as e-mail", "actions/mail-message-new", nullptr, nullptr, nullptr},
    {"Undo", "actions/edit-undo", nullptr, nullptr, nullptr},
    {"Redo", "actions/edit-redo", nullptr, nullptr, nullptr},
    {"Cut", "actions/edit-cut", nullptr, nullptr, nullptr},
    {"Copy", "actions/edit-copy", nullptr, nullptr, nullptr},
    {"Paste", "actions/edit-paste", nullptr, nullptr, nullptr},
    {"Paste Special", "actions/edit-paste", SpecialStar, "drawn star", nullptr},
    {"Delete", "actions/edit-delete", nullptr, nullptr, nullptr},
    {"Select All", "actions/edit-select-all", nullptr, nullptr, nullptr},
    {"Date & Time", "mimetypes/x-office-calendar", nullptr, nullptr, nullptr},
    {"Spell check", nullptr, SpellCheck, "drawn letters \"abc\" and tick", nullptr},
    {"Word count", nullptr, WordCount, "drawn words and \"123\"", nullptr},
    {"Align left", "actions/format-justify-left", nullptr, nullptr, nullptr},
    {"Align right", "actions/format-justify-right", nullptr, nullptr, nullptr},
    {"Align centre", "actions/format-justify-center", nullptr, nullptr, nullptr},
    {"Word wrap", nullptr, WordWrap, "drawn lines and wrap arrow", nullptr},
    {"lower case", nullptr, LowerCase, "drawn letters \"ab\"", nullptr},
    {"UPPER CASE", nullptr, UpperCase, "drawn letters \"AB\"", nullptr},
    {"Capitalize", nullptr, Capitalize, "drawn letters \"Ab\"", nullptr},
    {"Title Case", nullptr, TitleCase, "drawn letters \"Ab Cd\"", nullptr},
    {"tOGGLE cASE", nullptr, ToggleCase, "drawn letters \"aB\"", nullptr},
    {"Special characters", "apps/accessories-character-map", nullptr, nullptr, nullptr},
    {"Find", "actions/edit-find", nullptr, nullptr, nullptr},
    {"Find next", "actions/edit-find", CornerArrow, "drawn green arrow", nullptr},
    {"Replace", "actions/edit-find-replace", nullptr, nullptr, nullptr},
    {"Tile windows", nullptr, TileWindows, "drawn tiled windows", nullptr},
    {"Cascade windows", nullptr, CascadeWindows, "drawn cascaded windows", nullptr},
    {"Arrange icons", nullptr, ArrangeIcons, "drawn minimised windows and arrow", nullptr},
    {"Preferences", "categories/preferences-system", nullptr, nullptr, nullptr},
    {"Help contents", "apps/help-browser", nullptr, nullptr, nullptr},
    {"Search help", "actions/edit-find", nullptr, nullptr, "apps/help-browser"},
    {"How to use help", "mimetypes/text-x-generic", nullptr, nullptr, "apps/help-browser"},
    {"What's new", "status/software-update-available", nullptr, nullptr, nullptr},
    {"Tech support", "apps/internet-group-chat", nullptr, nullptr, nullptr},
    {"Download latest version", "apps/system-software-update", nullptr, nullptr, nullptr},
    {"About", ProgramIcon, nullptr, nullptr, nullptr},
    {"Import", "mimetypes/text-x-generic", CornerArrow, "drawn green arrow", nullptr},
    {"Reopen (recent)", "actions/document-open", nullptr, nullptr, "actions/view-refresh"},
    {"Favourite files", "emblems/emblem-favorite", nullptr, nullptr, nullptr},
    {"Customize tool bar", nullptr, ToolBarSetup, "drawn tool bar and gear", nullptr},
    {"Customize print-out", "mimetypes/x-office-document", CornerGear, "drawn gear", nullptr},
    {"Properties", "actions/document-properties", nullptr, nullptr, nullptr},
    {"Address book", "mimetypes/x-office-address-book", nullptr, nullptr, nullptr},
    {"Attach file", "status/mail-attachment", nullptr, nullptr, nullptr},
    {"Send", "actions/mail-forward", nullptr, nullptr, nullptr},
    {"Flag British (UK)", nullptr, FlagBritish, "drawn flag", nullptr},
    {"Flag Dutch", nullptr, FlagDutch, "drawn flag", nullptr},
    {"Flag American (US)", nullptr, FlagAmerican, "drawn flag", nullptr},
    {"Flag French", nullptr, FlagFrench, "drawn flag", nullptr},
    {"Flag German", nullptr, FlagGerman, "drawn flag", nullptr},
    {"Flag Italian", nullptr, FlagItalian, "drawn flag", nullptr},
    {"Legal dictionary", nullptr, Scales, "drawn scales", nullptr},
    {"Medical dictionary", nullptr, RedCross, "drawn red cross on white", nullptr},
    {"Flag Spanish", nullptr, FlagSpanish, "drawn flag", nullptr},
    {"Restore program window", nullptr, RestoreWindow, "drawn window and green arrow", nullptr},
    {"Stay on top", nullptr, StayOnTop, "drawn windows and pin", nullptr},
    {"Backups", "devices/drive-harddisk", nullptr, nullptr, "actions/document-save"},
    {"Status bar", nullptr, StatusBar, "drawn window with status bar", nullptr},
    {"Button hints", nullptr, ButtonHint, "drawn pointer and hint box", nullptr},
    {"Tip of the day", nullptr, LightBulb, "drawn light bulb", nullptr},
    {"Start with the system", "devices/computer", CornerPlay, "drawn green triangle", nullptr},
    {"Default notepad", "apps/accessories-text-editor", nullptr, nullptr, nullptr},
    {"Add", "actions/list-add", nullptr, nullptr, nullptr},
    {"Remove", "actions/list-remove", nullptr, nullptr, nullptr},
    {"OK", nullptr, OkMark, "drawn green tick", nullptr},
    {"Cancel", nullptr, CancelMark, "drawn red cross", nullptr},
    {"Help", nullptr, HelpMark, "drawn question mark", nullptr},
    {"Skip", "actions/go-last", nullptr, nullptr, nullptr},
    {"Replace word", nullptr, ReplaceWord, "drawn crossed-out \"ab\" over \"cd\"", nullptr},
    {"Add word", nullptr, AddWord, "drawn letters \"ab\"", "actions/list-add"},
    {"Information", nullptr, InformationMark, "drawn letter \"i\"", nullptr},
    {"Warning", "status/dialog-warning", nullptr, nullptr, nullptr},
    {"Folder", "places/folder", nullptr, nullptr, nullptr},
};

// Side of the shrunken second icon, in pixels.
constexpr int OverlaySize = 10;

QString Describe(const TEntry &entry) {
  QStringList parts;
  if (entry.base == ProgramIcon)
    parts << QStringLiteral("the program icon (data/icons)");
  else if (entry.base)
    parts << QStringLiteral("Tango %1").arg(QLatin1String(entry.base));
  if (entry.drawing) parts << QLatin1String(entry.drawn);
  if (entry.overlay) parts << QStringLiteral("Tango %1 (small)").arg(QLatin1String(entry.overlay));
  return parts.join(QStringLiteral(" + "));
}

}  // namespace

QList<TGlyphArt::TGlyph> TGlyphArt::Build(const QString &themeDir, const QImage &programIcon,
                                          QStringList *errors) {
  static_assert(std::size(Table) == 82, "the glyph list has 82 images");
  const auto load = [&](const QString &size, const char *name) {
    const QString path = QStringLiteral("%1/%2/%3.png").arg(themeDir, size, QLatin1String(name));
    QImage image(path);
    if (image.isNull()) *errors << QStringLiteral("cannot read %1").arg(path);
    return image;
  };

  QList<TGlyph> glyphs;
  for (const TEntry &entry : Table) {
    QImage picture(16, 16, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (entry.base == ProgramIcon) {
      painter.drawImage(0, 0, programIcon);
    } else if (entry.base) {
      painter.drawImage(0, 0, load(QStringLiteral("16x16"), entry.base));
    }
    if (entry.drawing) {
      painter.save();
      entry.drawing(painter);
      painter.restore();
    }
    if (entry.overlay) {
      const QImage overlay =
          load(QStringLiteral("32x32"), entry.overlay)
              .scaled(OverlaySize, OverlaySize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      painter.drawImage(16 - OverlaySize, 16 - OverlaySize, overlay);
    }
    painter.end();
    glyphs << TGlyph{QString::fromUtf8(entry.meaning), Describe(entry), picture};
  }
  return glyphs;
}
