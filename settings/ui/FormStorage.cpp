// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/FormStorage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHash>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTimer>

#include "platform/ui/MessageBox.h"
#include "settings/core/PropertyText.h"
#include "settings/core/SettingsError.h"
#include "settings/ui/ToolBarLayout.h"
#include "settings/ui/WindowPlacement.h"

namespace {

// Most lines a stored string list loads.
constexpr int MaxListLines = 65536;

TFormStorage::TErrorReporter &Reporter() {
  static TFormStorage::TErrorReporter reporter = [](const QString &text) {
    // Shown after the current event (a show or close in progress) has been handled.
    QTimer::singleShot(0, qApp, [text] {
      QString sentence = text;
      while (sentence.endsWith(u'.')) sentence.chop(1);
      MessageBox::Show(nullptr, MessageBox::MsgHeader() + sentence + u'.', TMsgKind::Error,
                       TMsgButtons::Ok);
    });
  };
  return reporter;
}

const TStoredDefault *FindDefault(const QList<TStoredDefault> &defaults, const QString &name) {
  for (const TStoredDefault &each : defaults)
    if (each.valueName.compare(name, Qt::CaseInsensitive) == 0) return &each;
  return nullptr;
}

}  // namespace

void TFormStorage::SetErrorReporter(TErrorReporter reporter) { Reporter() = std::move(reporter); }
TFormStorage::TErrorReporter TFormStorage::ErrorReporter() { return Reporter(); }

void TFormStorage::Report(const QString &text) {
  if (Reporter()) Reporter()(text);
}

TFormStorage::TFormStorage(QWidget *form, TSettingsStore &store)
    : QObject(form),
      form_(form),
      formClass_(QString::fromLatin1(form->metaObject()->className())),
      store_(store) {
  form->installEventFilter(this);
  connect(qApp, &QCoreApplication::aboutToQuit, this, &TFormStorage::FormDestroying);
}

TFormStorage::~TFormStorage() {
  FormDestroying();
  if (form_) form_->removeEventFilter(this);
  if (watchedWindow_) watchedWindow_->removeEventFilter(this);
}

QString TFormStorage::RootPath() const {
  if (!IniFileName.isEmpty()) return IniFileName;
  return QStringLiteral("Software\\") + QCoreApplication::applicationName();
}

QString TFormStorage::Section() const {
  if (!IniSection.isEmpty()) return IniSection;
  return formClass_;
}

void TFormStorage::SetStoredProps(const QStringList &entries,
                                  const QList<TStoredDefault> &defaults) {
  entries_.clear();
  unresolved_.clear();
  if (!form_) return;
  QHash<QString, QObject *> children;
  children.insert(form_->objectName().toLower(), form_);
  for (QObject *child : form_->findChildren<QObject *>())
    if (!child->objectName().isEmpty() && !children.contains(child->objectName().toLower()))
      children.insert(child->objectName().toLower(), child);

  QSet<QObject *> watched;
  for (const QString &text : entries) {
    const qsizetype dot = text.indexOf(u'.');
    if (dot < 0) {
      unresolved_ << text;
      continue;
    }
    const QString component = text.left(dot).trimmed(), property = text.mid(dot + 1).trimmed();
    QObject *object = component.isEmpty() ? nullptr : children.value(component.toLower());
    if (!object || property.isEmpty()) {
      unresolved_ << text;
      continue;
    }

    TEntry entry{component + u'.' + property, object, BindProperty(form_, object, property)};
    if (!entry.bound) unresolved_ << text;
    if (entry.bound) {
      TBoundProperty &bound = *entry.bound;
      bound.component = component;
      bound.property = property;
      const QString name = bound.ValueName();
      if (bound.kind == TBoundProperty::TKind::Value) {
        if (const TStoredDefault *found = FindDefault(defaults, name))
          bound.value->SetText(found->text);
      } else if (bound.kind == TBoundProperty::TKind::StringList) {
        if (const TStoredDefault *found = FindDefault(defaults, name))
          bound.setLines(found->text.isEmpty() ? QStringList() : found->text.split(u'\n'));
      } else {
        for (auto &[part, accessor] : bound.parts)
          if (const TStoredDefault *found = FindDefault(defaults, name + part))
            accessor->SetText(found->text);
      }
    }
    entries_.push_back(std::move(entry));
    if (!watched.contains(object)) {
      watched.insert(object);
      connect(object, &QObject::destroyed, this, [this, object] { DropEntriesOf(object); });
    }
  }
}

QStringList TFormStorage::StoredProps() const {
  QStringList list;
  for (const TEntry &entry : entries_) list.append(entry.entry);
  return list;
}

void TFormStorage::DropEntriesOf(QObject *object) {
  std::erase_if(entries_, [object](const TEntry &entry) { return entry.object == object; });
}

void TFormStorage::LinkToolBar(QToolBar *bar) {
  if (bar && !toolBars_.contains(bar)) toolBars_.append(bar);
}

void TFormStorage::LoadEntry(TRootKey &root, TEntry &entry) {
  if (!entry.bound || !entry.bound->object) return;
  TBoundProperty &bound = *entry.bound;
  const QString section = Section();
  const QString name = bound.ValueName();
  auto load = [&](TValueAccessor &accessor, const QString &valueName) {
    accessor.SetText(root.ReadString(section, valueName, accessor.Text()).trimmed());
  };
  switch (bound.kind) {
    case TBoundProperty::TKind::Value:
      load(*bound.value, name);
      break;
    case TBoundProperty::TKind::Font:
      for (auto &[part, accessor] : bound.parts) load(*accessor, name + part);
      break;
    case TBoundProperty::TKind::StringList: {
      const QString listSection = section + u'.' + name;
      const int count = std::min(
          PropertyText::ToInteger(
              root.ReadString(listSection, QStringLiteral("Count"), QStringLiteral("0")).trimmed()),
          MaxListLines);
      if (count <= 0) break;
      QStringList lines;
      for (int i = 0; i < count; ++i)
        lines.append(root.ReadString(listSection, QStringLiteral("Item%1").arg(i), QString()));
      bound.setLines(lines);
      break;
    }
  }
}

void TFormStorage::SaveEntry(TRootKey &root, TEntry &entry) {
  if (!entry.bound || !entry.bound->object) return;
  TBoundProperty &bound = *entry.bound;
  const QString section = Section();
  const QString name = bound.ValueName();
  switch (bound.kind) {
    case TBoundProperty::TKind::Value:
      root.WriteString(section, name, bound.value->Text().trimmed());
      break;
    case TBoundProperty::TKind::Font:
      for (auto &[part, accessor] : bound.parts)
        root.WriteString(section, name + part, accessor->Text().trimmed());
      break;
    case TBoundProperty::TKind::StringList: {
      const QString listSection = section + u'.' + name;
      const QStringList lines = bound.lines();
      root.EraseSection(listSection);
      if (lines.isEmpty()) break;
      root.WriteInteger(listSection, QStringLiteral("Count"), int(lines.size()));
      for (qsizetype i = 0; i < lines.size(); ++i)
        root.WriteString(listSection, QStringLiteral("Item%1").arg(i), lines[i]);
      break;
    }
  }
}

void TFormStorage::RestoreFormPlacement() {
  if (!form_ || busy_) return;
  busy_ = true;
  const auto done = qScopeGuard([this] { busy_ = false; });
  saved_ = false;
  try {
    TRootKey root(RootPath(), store_);
    if (const QString report = store_.TakeLoadReport(); !report.isEmpty()) Report(report);
    const QString section = Section();
    try {
      if (Options.testFlag(fpPosition)) WindowPlacement::RestorePosition(root, section, form_);
      if (Options.testFlag(fpState)) WindowPlacement::RestoreState(root, section, form_);
    } catch (const ESettingsError &error) {
      Report(error.Message());
    }
    for (const QPointer<QToolBar> &bar : toolBars_) {
      if (!bar) continue;
      try {
        ToolBarLayout::Restore(root, ToolBarLayout::Section(section, formClass_, bar), bar);
      } catch (const ESettingsError &error) {
        Report(error.Message());
      }
    }
    restored_ = true;
    for (TEntry &entry : entries_) {
      try {
        LoadEntry(root, entry);
      } catch (const std::exception &error) {
        // One unreadable setting keeps its current value; the others still load.
        qWarning("Setting %s of %s not restored: %s", qUtf8Printable(entry.entry),
                 qUtf8Printable(section), error.what());
      }
    }
    if (Options.testFlag(fpActiveControl)) {
      try {
        const QString name = root.ReadString(section, QStringLiteral("ActiveControl"), QString());
        QWidget *control = name.isEmpty() ? nullptr : form_->findChild<QWidget *>(name);
        if (control && control->isEnabled() && control->focusPolicy() != Qt::NoFocus)
          control->setFocus();
      } catch (const ESettingsError &error) {
        // The focus stays where the form put it.
        qWarning("Active control of %s not restored: %s", qUtf8Printable(section), error.what());
      }
    }
    root.Close();
  } catch (const ESettingsError &error) {
    Report(error.Message());
  }
}

void TFormStorage::SaveFormPlacement(bool destroying) {
  if (!form_ || busy_) return;
  if (Active && !restored_) return;
  busy_ = true;
  const auto done = qScopeGuard([this] { busy_ = false; });
  saved_ = true;
  try {
    TRootKey root(RootPath(), store_);
    const QString section = Section();
    try {
      WindowPlacement::Save(root, section, form_, destroying, Options.testFlag(fpActiveControl));
      for (const QPointer<QToolBar> &bar : toolBars_)
        if (bar) ToolBarLayout::Save(root, ToolBarLayout::Section(section, formClass_, bar), bar);
      for (TEntry &entry : entries_) SaveEntry(root, entry);
    } catch (const ESettingsError &error) {
      // What was written before the failure stays written.
      Report(error.Message());
    }
    root.Close();
  } catch (const ESettingsError &error) {
    Report(error.Message());
  }
}

void TFormStorage::FormDestroying() {
  if (Active && restored_ && !saved_) SaveFormPlacement(true);
}

bool TFormStorage::eventFilter(QObject *watched, QEvent *event) {
  if (!form_ || !Active) return false;
  // Hiding the window makes the next show restore again. Minimizing and restoring an MDI
  // sub-window hides and shows it within one call, so the hide counts only when the window is
  // still hidden once that has settled.
  QWidget *window = WindowPlacement::Target(form_);
  if (event->type() == QEvent::Hide && !event->spontaneous() && watched == window) {
    QTimer::singleShot(0, this, [this] {
      QWidget *target = form_ ? WindowPlacement::Target(form_) : nullptr;
      // A window minimized to the tray keeps its controls' values (changed in this run)
      // while hidden: coming back is no new show.
      if (target && !target->isVisible() && !target->isMinimized()) shown_ = false;
    });
  }
  if (watched != form_) return false;
  if (event->type() == QEvent::Show) {
    // A spontaneous show, or the form coming back inside its still visible MDI sub-window,
    // is a minimized window restored, not a new show.
    if (event->spontaneous() || shown_) return false;
    shown_ = true;
    if (window && window != form_ && window != watchedWindow_) {
      if (watchedWindow_) watchedWindow_->removeEventFilter(this);
      watchedWindow_ = window;
      window->installEventFilter(this);
    }
    RestoreFormPlacement();
    return false;
  }
  if (event->type() == QEvent::Close) {
    // The window's own close handler decides first; the storage saves only an accepted close.
    static_cast<QObject *>(form_.data())->event(event);
    if (event->isAccepted()) SaveFormPlacement(false);
    return true;
  }
  return false;
}
