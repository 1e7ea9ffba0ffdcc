#pragma once

#include <QLabel>
#include <QWidget>
#include <vector>

// A status bar of fixed-width panels, each a sunken text cell with its own alignment. The last
// panel takes whatever width is left.
class TPanelStatusBar : public QWidget {
  Q_OBJECT

 public:
  struct TPanel {
    int width;
    Qt::Alignment alignment;
  };

  explicit TPanelStatusBar(const std::vector<TPanel> &panels, QWidget *parent = nullptr);

  int PanelCount() const { return int(labels_.size()); }
  QString Text(int panel) const { return labels_.at(panel)->text(); }
  void SetText(int panel, const QString &text);
  int Width(int panel) const { return labels_.at(panel)->width(); }
  void SetWidth(int panel, int width);
  QLabel *Panel(int panel) const { return labels_.at(panel); }

 private:
  std::vector<QLabel *> labels_;
};
