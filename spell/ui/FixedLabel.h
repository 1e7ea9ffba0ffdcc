// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <Qt>

class QLabel;
class QString;
class QWidget;

// A label of a window laid out at fixed places: named, placed, its text at the top.
QLabel *AddFixedLabel(QWidget *parent, const char *name, const QString &text, QRect place,
                      Qt::Alignment alignment);
