// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/FontBinding.h"

#include <QPointer>
#include <cmath>

#include "settings/core/PropertyText.h"

namespace FontBinding {

namespace {

const QStringList pitchNames = {QStringLiteral("fpDefault"), QStringLiteral("fpVariable"),
                                QStringLiteral("fpFixed")};
const QStringList styleNames = {QStringLiteral("fsBold"), QStringLiteral("fsItalic"),
                                QStringLiteral("fsUnderline"), QStringLiteral("fsStrikeOut")};
const char charsetMemo[] = "_storedFontCharset";
const char pitchMemo[] = "_storedFontPitch";

double DotsPerInch(const QWidget *widget) {
  const int dpi = widget ? widget->logicalDpiY() : 0;
  return dpi > 0 ? dpi : 96.0;
}

double PixelHeight(const QFont &font, double dpi) {
  if (font.pixelSize() > 0) return font.pixelSize();
  return font.pointSizeF() * dpi / 72.0;
}

}  // namespace

TParts Parts(QWidget *widget, const std::function<QFont()> &get,
             const std::function<void(const QFont &)> &set) {
  QPointer<QWidget> guard(widget);
  auto change = [get, set](const std::function<void(QFont &)> &edit) {
    QFont font = get();
    edit(font);
    set(font);
  };
  TParts parts;
  parts.emplace_back(QStringLiteral("Charset"),
                     PropertyBinding::MakeAccessor(
                         [guard] {
                           const QVariant kept = guard ? guard->property(charsetMemo) : QVariant();
                           return PropertyText::FromInteger(kept.isValid() ? kept.toInt() : 1);
                         },
                         [guard](const QString &text) {
                           if (guard)
                             guard->setProperty(charsetMemo, PropertyText::ToInteger(text));
                         }));
  parts.emplace_back(QStringLiteral("Color"), PropertyBinding::PaletteColor(widget, true));
  parts.emplace_back(
      QStringLiteral("Height"),
      PropertyBinding::MakeAccessor(
          [get, guard] {
            return PropertyText::FromInteger(-qRound(PixelHeight(get(), DotsPerInch(guard))));
          },
          [change](const QString &text) {
            const int height = PropertyText::ToInteger(text);
            if (height != 0) change([height](QFont &font) { font.setPixelSize(std::abs(height)); });
          }));
  parts.emplace_back(
      QStringLiteral("Name"),
      PropertyBinding::MakeAccessor([get] { return get().family(); },
                                    [change](const QString &text) {
                                      change([text](QFont &font) { font.setFamily(text); });
                                    }));
  parts.emplace_back(QStringLiteral("Pitch"),
                     PropertyBinding::MakeAccessor(
                         [get, guard] {
                           const QVariant kept = guard ? guard->property(pitchMemo) : QVariant();
                           int index = kept.isValid() ? kept.toInt() : 0;
                           // The kept pitch holds while the font still agrees with it.
                           if (get().fixedPitch() != (index == 2))
                             index = get().fixedPitch() ? 2 : 0;
                           return pitchNames[index];
                         },
                         [change, guard](const QString &text) {
                           const auto index = PropertyText::ToEnum(text, pitchNames);
                           if (!index) return;
                           if (guard) guard->setProperty(pitchMemo, *index);
                           change([index](QFont &font) {
                             font.setFixedPitch(*index == 2);
                             if (*index == 2) font.setStyleHint(QFont::TypeWriter);
                           });
                         }));
  parts.emplace_back(QStringLiteral("Size"),
                     PropertyBinding::MakeAccessor(
                         [get, guard] {
                           const QFont font = get();
                           const double points = font.pointSizeF() > 0
                                                     ? font.pointSizeF()
                                                     : font.pixelSize() * 72.0 / DotsPerInch(guard);
                           return PropertyText::FromInteger(qRound(points));
                         },
                         [change](const QString &text) {
                           const int size = PropertyText::ToInteger(text);
                           if (size > 0) change([size](QFont &font) { font.setPointSize(size); });
                         }));
  parts.emplace_back(QStringLiteral("Style"),
                     PropertyBinding::MakeAccessor(
                         [get] {
                           const QFont font = get();
                           const quint64 bits = (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) |
                                                (font.underline() ? 4 : 0) |
                                                (font.strikeOut() ? 8 : 0);
                           return PropertyText::FromSet(bits, styleNames);
                         },
                         [change](const QString &text) {
                           const quint64 bits = PropertyText::ToSet(text, styleNames);
                           change([bits](QFont &font) {
                             font.setBold(bits & 1);
                             font.setItalic(bits & 2);
                             font.setUnderline(bits & 4);
                             font.setStrikeOut(bits & 8);
                           });
                         }));
  return parts;
}

}  // namespace FontBinding
