#include "fmEdit.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QScreen>
#include <QVBoxLayout>

#include "EditHost.h"
#include "FindReplace.h"
#include "Folders.h"
#include "FormStorage.h"
#include "FormTables.h"
#include "KeyboardState.h"
#include "MessageBox.h"
#include "PanelStatusBar.h"
#include "RichEdit.h"
#include "RtfReader.h"
#include "SafeSave.h"
#include "SaveNames.h"

TfrmEdit::TfrmEdit(TEditHost &host, QWidget *parent) : QWidget(parent), host_(host) {
  setObjectName(QStringLiteral("frmEdit"));
  setAttribute(Qt::WA_DeleteOnClose);
  mmoMemo_ = new TRichEdit(this);
  mmoMemo_->setObjectName(QStringLiteral("mmoMemo"));
  mmoMemo_->setContextMenuPolicy(Qt::CustomContextMenu);
  QFont font(QStringLiteral("Souvenir Lt BT"));
  font.setPixelSize(13);
  mmoMemo_->SetEditFont(font);
  connect(mmoMemo_, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
    if (QMenu *menu = host_.PopupMenu()) menu->popup(mmoMemo_->viewport()->mapToGlobal(at));
  });
  connect(mmoMemo_, &TRichEdit::URLClick, this, &TfrmEdit::mmoMemoURLClick);
  // Told once the key press or paste is over, never in the middle of it.
  connect(mmoMemo_, &TRichEdit::LimitReached, this, &TfrmEdit::mmoMemoLimitReached,
          Qt::QueuedConnection);
  // The window sees key releases before its edit control does.
  mmoMemo_->installEventFilter(this);

  barEdit_ = new TPanelStatusBar({{58, Qt::AlignHCenter},
                                  {57, Qt::AlignLeft},
                                  {300, Qt::AlignLeft},
                                  {60, Qt::AlignLeft},
                                  {40, Qt::AlignHCenter},
                                  {40, Qt::AlignLeft},
                                  {40, Qt::AlignLeft},
                                  {50, Qt::AlignLeft}},
                                 this);
  barEdit_->setObjectName(QStringLiteral("barEdit"));

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(mmoMemo_, 1);
  layout->addWidget(barEdit_);

  // The editor settings all document windows share: restored at the first show, saved when the
  // window closes, so the last window closed decides what the next one starts with.
  strEdit_ = new TFormStorage(this);
  strEdit_->setObjectName(QStringLiteral("strEdit"));
  strEdit_->IniSection = QStringLiteral("Edit Form");
  // The window state is not kept: the holder EditDisplay always decides how a new document
  // window appears, and restoring a stored state when Qt re-shows the window's contents would
  // undo the user's choice.
  strEdit_->Options = {};
  strEdit_->SetStoredProps(FormTables::EditFormProps(), FormTables::EditFormDefaults());

  tmrKeyState_.setInterval(1000);
  connect(&tmrKeyState_, &QTimer::timeout, this, &TfrmEdit::tmrKeyStateTimer);
  tmrKeyState_.start();
  tmrKeyStateTimer();
  appEventsIdle();
}

TfrmEdit::~TfrmEdit() { strEdit_->FormDestroying(); }

void TfrmEdit::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TfrmEdit::FormShow() {
  host_.UpdateTitles();
  ShownFont = mmoMemo_->font();
  ShownColor = mmoMemo_->Color();
  mmoMemo_->Clear();
}

QString TfrmEdit::FileName() const { return barEdit_->Text(pnlFileName); }

QString TfrmEdit::SaveName() const { return SaveNames::FromPanelText(FileName()); }

void TfrmEdit::SetFileName(const QString &name) {
  barEdit_->SetWidth(pnlFileName, FileNamePanelWidth(name));
  barEdit_->SetText(pnlFileName, name);
}

void TfrmEdit::SetFormat(const TTextFormat &format) {
  format_ = format;
  mmoMemo_->SetLineEnd(format.LineEndText());
}

int TfrmEdit::FileNamePanelWidth(const QString &name) {
  return name.size() <= 45 ? 300 : int(7 * name.size());
}

QString TfrmEdit::SizeText(qsizetype size) {
  QLocale locale;
  locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  return locale.toString(qlonglong(size)) + QStringLiteral(" bytes");
}

void TfrmEdit::SetUntitled(const QString &displayName) {
  setWindowTitle(QStringLiteral("untitled.txt"));
  SetFileName(displayName);
}

bool TfrmEdit::Open(const QString &name) {
  // Paths keep their case: on this system a lower-cased path names another file.
  QDir::setCurrent(Folders::FolderOf(name));
  const QString fileName = QFileInfo(name).absoluteFilePath();
  host_.SetCurrentFileName(fileName);
  host_.SetFilePath(Folders::FolderOf(fileName));

  QFile file(fileName);
  QByteArray bytes;
  if (!QFileInfo(fileName).isDir() && file.open(QIODevice::ReadOnly)) bytes = file.readAll();
  if (!file.isOpen() || file.error() != QFileDevice::NoError) {
    MessageBox::ShowError(this, QStringLiteral("Cannot open file ") + fileName);
    return openFailed(fileName);
  }
  const QByteArray kept = keptVersion(fileName);
  const QByteArray &shown = kept.isNull() ? bytes : kept;
  const std::optional<bool> truncated = SaveNames::IsRichTextName(fileName)
                                            ? loadRichText(fileName, shown)
                                            : loadPlainText(fileName, shown);
  if (!truncated) return openFailed(fileName);
  mmoMemo_->ResetUndoHistory();
  mmoMemo_->SetSelection(0, 0);
  mmoMemo_->SetModified(*truncated || !kept.isNull());
  diskStamp_ = TFileStamp::OfContent(fileName, bytes);

  setWindowTitle(Folders::FileNameOf(fileName));
  host_.UpdateTitles();
  barEdit_->SetWidth(pnlSize, int(7 * SizeText(mmoMemo_->TextLength()).size()));
  SetFileName(fileName);
  appEventsIdle();
  if (!openNotice_.isEmpty())
    MessageBox::Show(this, std::exchange(openNotice_, QString()), TMsgKind::Warning, TMsgButtons::Ok);
  if (*truncated) {
    MessageBox::Show(
        this,
        MessageBox::MsgHeader() + QStringLiteral("The file '") + fileName +
            QStringLiteral("' is longer than a workspace can hold.\rOnly its first ") +
            LimitText() +
            QStringLiteral(" characters were loaded; saving it will shorten the file."),
        TMsgKind::Warning, TMsgButtons::Ok);
  }
  return true;
}

QByteArray TfrmEdit::keptVersion(const QString &fileName) {
  // A save that was stopped while it wrote the file in place may have left it incomplete.
  const QString copy = TSafeSave::InterruptedCopyOf(fileName);
  if (copy.isEmpty()) return QByteArray();
  const TMsgResult answer = MessageBox::Show(
      this,
      MessageBox::MsgHeader() + QStringLiteral("The file '") + fileName +
          QStringLiteral("' may be incomplete: saving it was stopped before it had finished.\r"
                         "The version from before that save was kept as '") +
          copy +
          QStringLiteral("'.\r\rOpen the kept version instead? Saving then writes it to the file."),
      TMsgKind::Warning, TMsgButtons::YesNo);
  QFile file(copy);
  if (answer != TMsgResult::Yes || !file.open(QIODevice::ReadOnly)) return QByteArray();
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return QByteArray();
  return bytes.isNull() ? QByteArray("", 0) : bytes;  // an empty version is still a choice
}

bool TfrmEdit::openFailed(const QString &fileName) {
  // Nothing of the file is in the window: it is an untitled document in the file's folder, so
  // that saving asks for a name.
  mmoMemo_->Clear();
  mmoMemo_->SetModified(false);
  SetFormat(TTextFormat{});
  diskStamp_.reset();
  SetUntitled(u' ' + Folders::FolderOf(fileName) + QLatin1String(SaveNames::UntitledName));
  host_.UpdateTitles();
  appEventsIdle();
  return false;
}

std::optional<bool> TfrmEdit::loadRichText(const QString &fileName, const QByteArray &bytes) {
  TRtfReader reader;
  mmoMemo_->HoldUpdates();
  const bool read = reader.Read(bytes, *mmoMemo_->document());
  mmoMemo_->ReleaseUpdates();
  if (!read) {
    MessageBox::ShowError(this, QStringLiteral("Cannot open file ") + fileName +
                                    QStringLiteral(".\r") + reader.Error());
    return std::nullopt;
  }
  SetFormat(TTextFormat{TTextEncoding::Windows1252, TLineEnd::CrLf, {}});
  if (reader.FormattingDropped())
    openNotice_ = MessageBox::MsgHeader() + QStringLiteral("The file '") + fileName +
                  QStringLiteral("' changes its formatting more often than a workspace can "
                                 "show: the latest changes in its longest paragraphs were left "
                                 "out.\rThe text is all there; saving writes the simpler "
                                 "formatting.");
  return reader.Truncated();
}

std::optional<bool> TfrmEdit::loadPlainText(const QString &fileName, const QByteArray &bytes) {
  const TDecodedText decoded = TextFile::Decode(bytes, TEditControl::MaxLength);
  if (decoded.binary &&
      MessageBox::Show(
          this,
          MessageBox::MsgHeader() + QStringLiteral("The file '") + fileName +
              QStringLiteral("' does not look like text: it holds NUL characters or mostly control "
                             "characters.\rShown as text it is hard to read, and saving it after a "
                             "change may damage it.\r\rOpen it anyway?"),
          TMsgKind::Warning, TMsgButtons::YesNo) != TMsgResult::Yes)
    return std::nullopt;
  mmoMemo_->HoldUpdates();
  mmoMemo_->LoadText(decoded);
  mmoMemo_->ReleaseUpdates();
  SetFormat(decoded.format);
  if (decoded.unreadableBytes > 0 && !decoded.binary) {
    const QString encoding = decoded.format.EncodingName();
    const QString unreadable = decoded.unreadableBytes == 1
                                   ? QString(QStringLiteral("1 byte that is not ") + encoding +
                                             QStringLiteral(" is shown as a box"))
                                   : QString(QString::number(decoded.unreadableBytes) +
                                             QStringLiteral(" bytes that are not ") + encoding +
                                             QStringLiteral(" are shown as boxes"));
    // Shown by Open once the window names the file.
    openNotice_ = MessageBox::MsgHeader() + QStringLiteral("The file '") + fileName +
                  QStringLiteral("' is not valid ") + encoding + QStringLiteral(". It was read as ") +
                  encoding + QStringLiteral("; its ") + unreadable +
                  QStringLiteral(".\rNothing is lost: saving writes every byte back unchanged.");
  }
  return decoded.truncated;
}

QString TfrmEdit::LimitText() { return SizeText(TEditControl::MaxLength).chopped(6); }

void TfrmEdit::mmoMemoLimitReached() {
  if (limitNoticeShown_) return;
  const QScopedValueRollback<bool> once(limitNoticeShown_, true);
  MessageBox::Show(this,
                   MessageBox::MsgHeader() + QStringLiteral("A workspace holds at most ") +
                       LimitText() +
                       QStringLiteral(" characters.\rThe text that did not fit was not added."),
                   TMsgKind::Warning, TMsgButtons::Ok);
}

void TfrmEdit::appEventsIdle() {
  barEdit_->SetText(pnlCaret, QStringLiteral("%1:%2").arg(mmoMemo_->CaretLine() + 1).arg(mmoMemo_->CaretColumn() + 1));
  barEdit_->SetText(pnlSize, SizeText(mmoMemo_->TextLength()));
  barEdit_->SetText(pnlModified, mmoMemo_->Modified() ? QStringLiteral("Modified") : QString());
}

void TfrmEdit::tmrKeyStateTimer() {
  barEdit_->SetText(pnlInsert, KeyboardState::InsertToggled() ? QStringLiteral("OVR") : QStringLiteral("INS"));
  const TLockStates locks = KeyboardState::Read();
  barEdit_->SetText(pnlNum, locks.known && locks.numLock ? QStringLiteral("NUM") : QString());
  barEdit_->SetText(pnlCaps, locks.known && locks.capsLock ? QStringLiteral("CAP") : QString());
}

void TfrmEdit::closeEvent(QCloseEvent *event) {
  if (FormCloseQuery())
    event->accept();
  else
    event->ignore();
}

bool TfrmEdit::FormCloseQuery() {
  if (!mmoMemo_->Modified()) return true;
  const TTopMostPause pause(host_);
  host_.Activate(this);
  const TMsgResult answer = MessageBox::Show(
      this,
      MessageBox::MsgHeader() + QStringLiteral("Save Changes to '%1'\"?").arg(Caption()),
      TMsgKind::Confirmation, TMsgButtons::YesNoCancel);
  bool mayClose = true;
  if (answer == TMsgResult::Cancel) {
    mayClose = false;
  } else if (answer == TMsgResult::Yes) {
    // A document that could not be saved (or whose Save As was cancelled) stays open: closing
    // it would throw the text away.
    mayClose = host_.SaveFromClose(this);
  }
  return mayClose;
}

void TfrmEdit::mmoMemoURLClick(const QString &address) {
  host_.OpenWebLink(MessageBox::MsgHeader() +
                        QStringLiteral("Choosing Yes will start your web-browser and connect you to '") +
                        address + QStringLiteral("'.\r\rDo you wish to continue?"),
                    address);
}

bool TfrmEdit::eventFilter(QObject *watched, QEvent *event) {
  if (watched == mmoMemo_ && event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent *>(event)->isAutoRepeat())
    FormKeyUp(static_cast<QKeyEvent *>(event)->key());
  return QWidget::eventFilter(watched, event);
}

// ---- find and replace -------------------------------------------------------------------

TFindDialog *TfrmEdit::SearchDialog(TFindDialog::TMode mode) {
  QPointer<TFindDialog> &dialog = mode == TFindDialog::TMode::Find ? findDialog_ : replaceDialog_;
  if (!dialog) {
    const QPointer<TFindDialog> &other = mode == TFindDialog::TMode::Find ? replaceDialog_ : findDialog_;
    dialog = new TFindDialog(mode, this);
    if (other) dialog->SetFindText(other->FindText());
    connect(dialog, &TFindDialog::FindNextClicked, this, [this, d = dialog.data()] { dialogFindNext(d); });
    connect(dialog, &TFindDialog::ReplaceClicked, this, [this, d = dialog.data()] { dialogReplace(d); });
    connect(dialog, &TFindDialog::ReplaceAllClicked, this, [this, d = dialog.data()] { dialogReplaceAll(d); });
  }
  return dialog;
}

void TfrmEdit::ShowSearchDialog(TFindDialog::TMode mode) {
  const QString word = mmoMemo_->CaretWord();
  TFindDialog *dialog = SearchDialog(mode);
  if (!word.isEmpty()) dialog->SetFindText(word);
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
  dialog->edtFind()->setFocus();
  dialog->edtFind()->selectAll();
}

void TfrmEdit::FormKeyUp(int key) {
  if (key != Qt::Key_F3 || !FindNextPending) return;
  FindNextPending = false;
  // The dialog of the last search with its text and options as they are now.
  const bool fromDialog = lastSearchDialog_ && !lastSearchDialog_->FindText().isEmpty();
  const TSearchResult result = fromDialog ? searchState_.Search(*mmoMemo_, lastSearchDialog_->Options())
                                          : searchState_.FindNext(*mmoMemo_);
  if (result == TSearchResult::NotFound)
    mmoMemoTextNotFound(searchState_.LastSearch().findText);
}

void TfrmEdit::mmoMemoTextNotFound(const QString &findText) {
  MessageBox::Show(this, MessageBox::MsgHeader() + FindReplace::NotFoundText(findText), TMsgKind::Information,
                   TMsgButtons::Ok);
}

void TfrmEdit::moveOutOfTheWay(TFindDialog *dialog) {
  const QScreen *screen = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
  const qsizetype start = mmoMemo_->SelStart();
  const auto to = FindReplace::MoveOutOfTheWay(dialog->frameGeometry(), mmoMemo_->PositionToScreen(start),
                                               mmoMemo_->PositionToScreen(start + mmoMemo_->SelLength()),
                                               screen->availableGeometry());
  if (to) dialog->move(*to);
}

void TfrmEdit::dialogFindNext(TFindDialog *dialog) {
  const TSearchOptions options = dialog->Options();
  if (!options.findText.isEmpty()) lastSearchDialog_ = dialog;
  if (searchState_.Search(*mmoMemo_, options) == TSearchResult::Found)
    moveOutOfTheWay(dialog);
  else
    mmoMemoTextNotFound(options.findText);
}

void TfrmEdit::dialogReplace(TFindDialog *dialog) {
  const TSearchOptions options = dialog->Options();
  if (!options.findText.isEmpty()) lastSearchDialog_ = dialog;
  searchState_.Remember(options);
  if (FindReplace::Replace(*mmoMemo_, options, dialog->ReplaceText()))
    moveOutOfTheWay(dialog);
  else
    mmoMemoTextNotFound(options.findText);
}

void TfrmEdit::dialogReplaceAll(TFindDialog *dialog) {
  const TSearchOptions options = dialog->Options();
  if (!options.findText.isEmpty()) lastSearchDialog_ = dialog;
  searchState_.Remember(options);
  if (FindReplace::ReplaceAll(*mmoMemo_, options, dialog->ReplaceText()) > 0)
    moveOutOfTheWay(dialog);
  else
    mmoMemoTextNotFound(options.findText);
}
