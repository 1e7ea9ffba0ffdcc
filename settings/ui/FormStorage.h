// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// TFormStorage keeps a window's settings in its section of the settings tree: its placement,
// the layouts of linked tool bars, and a list of stored properties of its controls.
//
// Use: a window makes one in its constructor, after its controls exist (each named by
// objectName with the name the stored format uses), and gives it its table:
//
//   // TfrmMain::TfrmMain
//   strMain = new TFormStorage(this);
//   strMain->IniSection = QStringLiteral("Main Form");        // IniFileName is preset
//   strMain->SetStoredProps(FormTables::MainFormProps(), FormTables::MainFormDefaults());
//   strMain->LinkToolBar(barMCustom);
//   strMain->LinkToolBar(barECustom);
//   // TfrmMain::~TfrmMain: first line
//   strMain->FormDestroying();
//
//   // TfrmEdit::TfrmEdit (the widget inside its QMdiSubWindow)
//   strEdit = new TFormStorage(this);
//   strEdit->IniSection = QStringLiteral("Edit Form");
//   strEdit->Options = TFormStorage::fpState;
//   strEdit->SetStoredProps(FormTables::EditFormProps(), FormTables::EditFormDefaults());
//
// A later window needs only its own table:
//   strPreferences->SetStoredProps({"pagPrefer.ActivePage", "chkSHTML.Checked", ...},
//                                  {{"pagPrefer_ActivePage", "tabDisplay"}, ...});
//
// Controls: a QAction or check box stores "Checked"; a hidden QLabel/QLineEdit holder stores
// "Caption" (its text); "Visible", "Color" and "Font" work on any widget; "Lines" on a
// QPlainTextEdit; "Items" on a list or combo box; "Options" on a QToolBar; "ActivePage" on a
// QTabWidget. A control may also declare its own property under the stored name
// (Q_PROPERTY(bool SelectionBar ...), Q_ENUM keys such as ssBoth for enumerations, Q_FLAG for
// sets); a plain QObject holder declares them the same way (Q_PROPERTY(QString Caption ...))
// or carries dynamic properties ("FilterIndex", "Filter"). A component the table names must
// exist when SetStoredProps runs (an Open dialog made only on demand needs a holder object).
// See PropertyBinding.h for the full lookup.
//
// The storage restores at every show of the window, before the window's own showEvent (not
// when a minimized window comes back, from the task bar or the tray: its controls may hold
// changes since the show), and
// saves when a close is accepted by the window's own closeEvent ("Visible" 0), or, if it has
// not saved yet, when the window is destroyed or the program quits ("Visible" 1). Values are
// assigned through the controls' ordinary setters, so their signals fire as for a user change.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QToolBar>
#include <QWidget>
#include <functional>
#include <vector>

#include "settings/core/RootKey.h"
#include "settings/ui/PropertyBinding.h"

// A default in the stored form, by value name ("mniButtonHints_Checked", "True"). For a string
// list the lines are joined with "\n"; a font's defaults name its sub-values ("mmoMemo_FontName").
struct TStoredDefault {
  QString valueName;
  QString text;
};

class TFormStorage : public QObject {
  Q_OBJECT

 public:
  enum TPlacementOption { fpState = 1, fpPosition = 2, fpActiveControl = 4 };
  Q_DECLARE_FLAGS(TPlacementOptions, TPlacementOption)

  explicit TFormStorage(QWidget *form, TSettingsStore &store = TSettingsStore::User());
  ~TFormStorage() override;

  // When false the storage neither restores nor saves by itself.
  bool Active = true;
  // The root key; when empty, "Software\<application name>".
  QString IniFileName = VellumixRootKey + u'\\';
  // The section; when empty, the window's class name.
  QString IniSection;
  TPlacementOptions Options = TPlacementOptions(fpState) | fpPosition;

  // Sets the stored properties ("component.property") and resolves them against the window's
  // children: entries without a period, with an empty part or naming no child are dropped;
  // entries whose property does not exist are kept but skipped. Defaults found for the kept
  // entries are assigned at once, so the window starts from them.
  void SetStoredProps(const QStringList &entries, const QList<TStoredDefault> &defaults = {});
  // The entries kept after resolution, in list order.
  QStringList StoredProps() const;
  // The entries of the last SetStoredProps that store nothing: dropped, or naming a property
  // the control does not have. A window's table must leave this empty (its tests check).
  QStringList Unresolved() const { return unresolved_; }

  // A tool bar whose layout is stored in "<IniSection>\<window class name><bar name>".
  void LinkToolBar(QToolBar *bar);

  void RestoreFormPlacement();
  // destroying: saved while the window is destroyed ("Visible" 1) rather than at a close.
  void SaveFormPlacement(bool destroying = false);
  // Saves now if the window has not saved yet; call first in the window's destructor.
  void FormDestroying();

  bool Restored() const { return restored_; }
  bool Saved() const { return saved_; }

  // Where failures of restoring and saving are shown; by default an error message box with the
  // application's name as title and the text with a full stop. Tests replace it.
  using TErrorReporter = std::function<void(const QString &)>;
  static void SetErrorReporter(TErrorReporter reporter);
  static TErrorReporter ErrorReporter();
  static void Report(const QString &text);

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  struct TEntry {
    QString entry;
    QObject *object;  // identity only, for dropping the entries of a destroyed control
    std::optional<TBoundProperty> bound;
  };

  QString RootPath() const;
  QString Section() const;
  void LoadEntry(TRootKey &root, TEntry &entry);
  void SaveEntry(TRootKey &root, TEntry &entry);
  void DropEntriesOf(QObject *object);

  QPointer<QWidget> form_;
  QString formClass_;  // taken while the window is whole, for a save during its destruction
  TSettingsStore &store_;
  std::vector<TEntry> entries_;
  QStringList unresolved_;
  QList<QPointer<QToolBar>> toolBars_;
  QPointer<QWidget> watchedWindow_;  // the MDI sub-window holding the form, when there is one
  bool shown_ = false;               // the window is shown and its values are restored
  bool restored_ = false;
  bool saved_ = false;
  bool busy_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TFormStorage::TPlacementOptions)
