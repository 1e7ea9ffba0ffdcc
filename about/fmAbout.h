// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QIcon>
#include <functional>

class QLabel;
class QToolBar;
class TBarStyleMenu;
class TFormStorage;
class TSysInfoComp;

// The about box: the program's name and version, a summary of the machine, the maker's web
// address (a click runs Download Latest Version) and an Exit button.
class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  struct TProduct {
    QString name;
    QString version;
    QString webSite;
    QIcon icon;
  };

  // checkVersion: the main window's Download Latest Version command.
  TfrmAbout(const TProduct &product, const TSysInfoComp &info, std::function<void()> checkVersion,
            const QIcon &exitGlyph, QWidget *parent = nullptr);
  ~TfrmAbout() override;

  void CheckVersion();

 protected:
  void showEvent(QShowEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  QLabel *AddLine(class QGridLayout *grid, int row, const char *captionName, const QString &caption,
                  const char *valueName);
  void FormCreate(const QIcon &exitGlyph);
  void FormActivate();

  TProduct product_;
  const TSysInfoComp &info_;
  std::function<void()> checkVersion_;
  QLabel *lblName_;
  QLabel *lblVersion_;
  QLabel *imgAbout_;
  QLabel *lblFreeGDI_;
  QLabel *lblFreeUser_;
  QLabel *lblFreeSystem_;
  QLabel *lblDisBuild_;
  QLabel *lblOSVersion_;
  QLabel *lblOSBuild_;
  QLabel *lblURL_;
  QToolBar *barAbout_;
  TBarStyleMenu *pumToolBar_;
  TFormStorage *strAbout_;
};
