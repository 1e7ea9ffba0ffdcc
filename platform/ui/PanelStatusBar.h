// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QWidget>
#include <vector>

// A status bar of panels, each a sunken text cell with its own width and alignment; the last
// panel takes whatever width is left. While the bar has room every panel has its width (or
// more, where its text needs it); when it has not, the panels give way in proportion, show
// their text shortened with an ellipsis, and carry the whole text as a tooltip. The bar never
// makes the window that holds it wider.
class TPanelStatusBar : public QWidget {
  Q_OBJECT

 public:
  struct TPanel {
    int width;
    Qt::Alignment alignment;
  };

  explicit TPanelStatusBar(const std::vector<TPanel> &panels, QWidget *parent = nullptr);

  int PanelCount() const { return int(panels_.size()); }
  // The whole text, however much of it shows.
  QString Text(int panel) const { return panels_.at(panel).text; }
  void SetText(int panel, const QString &text);
  // The panel's own width, which it has while the bar has room.
  int Width(int panel) const { return panels_.at(panel).width; }
  void SetWidth(int panel, int width);
  QLabel *Panel(int panel) const { return panels_.at(panel).label; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent *event) override;

 private:
  struct TCell {
    QLabel *label;
    int width;
    QString text;
  };
  // The width a panel asks for: its own, or what its text needs when that is more.
  int wanted(const TCell &cell) const;
  void layoutPanels();
  void showText(TCell &cell);

  std::vector<TCell> panels_;
};
