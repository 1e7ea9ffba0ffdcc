// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/ui/fmEdit.h"

#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>
#include <climits>

#include "documents/core/CaseConvert.h"
#include "documents/core/FindReplace.h"
#include "documents/core/RichTextBridge.h"
#include "documents/core/RtfBuilder.h"
#include "documents/core/RtfParseJob.h"
#include "documents/core/SafeSave.h"
#include "documents/core/SaveNames.h"
#include "documents/core/TextLoader.h"
#include "documents/recovery/RecoveryTracker.h"
#include "documents/ui/EditHost.h"
#include "documents/ui/LoadPanel.h"
#include "documents/ui/LongOperation.h"
#include "documents/ui/NewDocument.h"
#include "documents/ui/RichEdit.h"
#include "platform/core/Folders.h"
#include "platform/desktop/IdleNotifier.h"
#include "platform/desktop/KeyboardState.h"
#include "platform/gui/EditorFont.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PanelStatusBar.h"
#include "settings/ui/FormStorage.h"
#include "settings/ui/FormTables.h"

namespace {
// Slices of about a megabyte: each is shown in a few tens of milliseconds.
constexpr qsizetype kSliceChars = 1 << 20;
// UTF-8 documents up to this many characters have the bytes of their file counted.
constexpr qsizetype kCountedBytesChars = 1 << 20;
// Files that fit one slice are read and shown without waiting for a thread.
constexpr qint64 kQuickLoadBytes = kSliceChars;
}  // namespace

TfrmEdit::TfrmEdit(TEditHost &host, QWidget *parent) : QWidget(parent), host_(host) {
  setObjectName(QStringLiteral("frmEdit"));
  setAttribute(Qt::WA_DeleteOnClose);
  mmoMemo_ = new TRichEdit(this);
  mmoMemo_->setObjectName(QStringLiteral("mmoMemo"));
  mmoMemo_->setContextMenuPolicy(Qt::CustomContextMenu);
  QFont font(EditorFont::DefaultFamily());
  font.setPixelSize(13);
  mmoMemo_->SetEditFont(font);
  connect(mmoMemo_, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
    if (QMenu *menu = host_.PopupMenu()) menu->popup(mmoMemo_->viewport()->mapToGlobal(at));
  });
  connect(mmoMemo_, &TRichEdit::URLClick, this, &TfrmEdit::mmoMemoURLClick);
  mmoMemo_->SetLongEdit([this](qsizetype start, qsizetype end, const QString &text,
                               TUndoKind kind) { return replaceLong(start, end, text, kind); });
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
  pnlLoad_ = new TLoadPanel(this);
  pnlLoad_->hide();
  connect(pnlLoad_, &TLoadPanel::CancelClicked, this, &TfrmEdit::pnlLoadCancelClicked);

  layout->addWidget(mmoMemo_, 1);
  layout->addWidget(pnlLoad_);
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

  recovery_ = new TRecoveryTracker(
      *mmoMemo_,
      [this] {
        TRecoveryRecord about;
        about.name = FileName();
        about.format = format_;
        about.diskKnown = diskStamp_ && diskStamp_->exists;
        if (about.diskKnown)
          std::tie(about.diskSize, about.diskModifiedNs) =
              std::pair(diskStamp_->size, diskStamp_->modifiedNs);
        return about;
      },
      this);
  connect(mmoMemo_, &TTextView::textChanged, recovery_, &TRecoveryTracker::TextChanged);
  connect(mmoMemo_, &TTextView::modificationChanged, recovery_, &TRecoveryTracker::ModifiedChanged);

  tmrKeyState_.setInterval(1000);
  connect(&tmrKeyState_, &QTimer::timeout, this, &TfrmEdit::tmrKeyStateTimer);
  tmrKeyState_.start();
  tmrKeyStateTimer();
  appEventsIdle();
}

TfrmEdit::~TfrmEdit() {
  delete recovery_;  // before the edit control it reads
  strEdit_->FormDestroying();
}

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

int TfrmEdit::SizePanelWidth(const QString &text) { return int(7 * text.size()); }

int TfrmEdit::FileNamePanelWidth(const QString &name) {
  return name.size() <= 45 ? 300 : int(7 * name.size());
}

QString TfrmEdit::SizeText(qsizetype size) {
  QLocale locale;
  locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  return locale.toString(qlonglong(size)) + QStringLiteral(" bytes");
}

QString TfrmEdit::SizePanelText() {
  const quint64 changes = mmoMemo_->ChangeCount();
  if (sizeText_.isEmpty() || sizeTextChanges_ != changes || sizeTextFormat_ != format_) {
    sizeText_ = sizeOfText();
    sizeTextChanges_ = changes;
    sizeTextFormat_ = format_;
  }
  return sizeText_;
}

QString TfrmEdit::sizeOfText() const {
  const qsizetype length = mmoMemo_->TextLength();  // line breaks counted as the line end
  switch (format_.encoding) {
    case TTextEncoding::Windows1252:
      return SizeText(length);
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE:
      return SizeText(2 + 2 * length + format_.trailer.size());
    case TTextEncoding::Utf8:
    case TTextEncoding::Utf8Bom:
      break;
  }
  // UTF-8 gives a character one to four bytes: counted while that is cheap, else the panel
  // says what it counts.
  if (mmoMemo_->PositionCount() > kCountedBytesChars) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(qlonglong(length)) + QStringLiteral(" characters");
  }
  qsizetype bytes = format_.encoding == TTextEncoding::Utf8Bom ? 3 : 0;
  const TTextModel *document = mmoMemo_->document();
  for (TTextBlock block = document->begin(); block.isValid(); block = block.next())
    bytes += TextFile::EncodedSize(block.textView(), format_.encoding);
  bytes += (document->blockCount() - 1) * format_.LineEndText().size();
  return SizeText(bytes);
}

void TfrmEdit::SetUntitled(const QString &displayName) {
  setWindowTitle(QStringLiteral("untitled.txt"));
  SetFileName(displayName);
}

bool TfrmEdit::Open(const QString &name) {
  const QString fileName = QFileInfo(name).absoluteFilePath();
  const bool rich = SaveNames::IsRichTextName(fileName);
  const QScopedValueRollback<bool> loading(loading_, true);
  loadCancelled_ = false;
  pnlLoad_->Start(fileName);
  loadWatch_.start();
  // A small file is read at once: shown in one slice, it is there before the user could
  // notice. Anything else (larger, or no regular file, which is refused) goes to a thread.
  const QFileInfo info(fileName);
  const bool small = !info.isFile() || info.size() < kQuickLoadBytes;
  std::optional<TTextLoader> loader(std::in_place, fileName, TextFile::ReadLimit(), !rich, !small);
  // Reading and decoding take the first half of the bar, showing the text the second.
  const bool read = whileLoading(
      [&] {
        pnlLoad_->SetProgress(loader->Progress() / 2);
        return !loader->Finished();
      },
      20);
  if (!read || loader->Cancelled()) return abandonLoad();

  // The file's folder becomes the current one once the file was tried, but not for a load
  // the user cancelled. Paths keep their case: on this system a lower-cased path names
  // another file.
  const auto tried = [&] {
    QDir::setCurrent(Folders::FolderOf(fileName));
    host_.SetCurrentFileName(fileName);
    host_.SetFilePath(Folders::FolderOf(fileName));
  };
  if (!loader->Error().isEmpty()) {
    tried();
    MessageBox::ShowError(this, QStringLiteral("Cannot open file ") + fileName +
                                    QStringLiteral(".\r") + loader->Error());
    return openFailed(fileName);
  }
  const TFileStamp stamp = loader->Stamp();
  const QByteArray kept = keptVersion(fileName);
  bool loaded;
  if (rich) {
    loaded = loadRichText(fileName, kept.isNull() ? loader->Bytes() : kept);
  } else if (kept.isNull()) {
    loaded = loadPlainText(fileName, loader->Decoded());
  } else {
    TDecodedChunks decoded = TextFile::DecodeChunks(kept, INT_MAX - 1);
    loaded = loadPlainText(fileName, decoded);
  }
  loader.reset();
  if (loadCancelled_) return abandonLoad();
  tried();
  if (!loaded) return openFailed(fileName);
  mmoMemo_->ResetUndoHistory();
  mmoMemo_->SetSelection(0, 0);
  // Loading never counts as a change: the text is the file's. A kept version is not.
  mmoMemo_->SetModified(!kept.isNull());
  diskStamp_ = stamp;

  setWindowTitle(Folders::FileNameOf(fileName));
  host_.UpdateTitles();
  barEdit_->SetWidth(pnlSize, SizePanelWidth(SizePanelText()));
  SetFileName(fileName);
  appEventsIdle();
  // The text is all there: the commands held back while it came in work on it from now on.
  loading_ = false;
  host_.UpdateCommands();
  if (!openNotice_.isEmpty())
    MessageBox::Show(this, std::exchange(openNotice_, QString()), TMsgKind::Warning,
                     TMsgButtons::Ok);
  return true;
}

bool TfrmEdit::whileLoading(const std::function<bool()> &step, int intervalMs) {
  if (loadCancelled_) return false;
  if (!step()) return true;
  QEventLoop loop;
  QTimer timer;
  timer.setInterval(intervalMs);
  // Started again once a step is done, not when it began: after a long step, the timers that
  // came due meanwhile (the user's, the window's) come first.
  timer.setSingleShot(true);
  connect(&timer, &QTimer::timeout, &loop, [&] {
    if (loadCancelled_ || !step()) {
      loop.quit();
      return;
    }
    showLoadPanel();
    timer.start();
  });
  connect(pnlLoad_, &TLoadPanel::CancelClicked, &loop, &QEventLoop::quit);
  timer.start();
  loop.exec();
  return !loadCancelled_;
}

void TfrmEdit::showLoadPanel() {
  if (!pnlLoad_->isVisible() && loadWatch_.elapsed() >= 500) pnlLoad_->show();
}

bool TfrmEdit::abandonLoad() {
  pnlLoad_->hide();
  if (mmoMemo_->Loading()) mmoMemo_->EndLoad(TDecodedText{});
  mmoMemo_->Clear();
  mmoMemo_->SetModified(false);
  loading_ = false;
  // Nothing was opened: the window goes (once this call is over).
  QWidget *window = qobject_cast<QMdiSubWindow *>(parentWidget());
  (window ? window : this)->close();
  return false;
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
  pnlLoad_->hide();
  mmoMemo_->Clear();
  mmoMemo_->SetModified(false);
  SetFormat(TTextFormat{});
  diskStamp_.reset();
  SetUntitled(u' ' + Folders::FolderOf(fileName) + QLatin1String(SaveNames::UntitledName));
  host_.UpdateTitles();
  appEventsIdle();
  return false;
}

bool TfrmEdit::loadRichText(const QString &fileName, const QByteArray &bytes) {
  // No limit but what a document counts: a file is never opened cut.
  TRtfLimits limits;
  limits.maxCharacters = std::min<qsizetype>(limits.maxCharacters, TextFile::ReadLimit());
  limits.maxInputBytes = std::max<qsizetype>(limits.maxInputBytes, bytes.size());
  // Read on a thread of its own (the third quarter of the bar), then made the document in
  // slices (the last): between them the window answers, shows the progress once the load
  // takes long, and hears Cancel. The edit control takes no input meanwhile.
  std::optional<TRtfParseJob> job(std::in_place, bytes, limits);
  const bool parsed = whileLoading(
      [&] {
        pnlLoad_->SetProgress(500 + job->Progress() / 4);
        return !job->Finished();
      },
      20);
  if (!parsed) return false;  // Open abandons the load; the job stops with its thread
  const TRtfParsed read = std::move(job->Result());
  job.reset();
  if (!read.Ok() || read.truncated) {
    pnlLoad_->hide();
    MessageBox::ShowError(this, QStringLiteral("Cannot open file ") + fileName +
                                    QStringLiteral(".\r") +
                                    (read.Ok() ? QStringLiteral("Its text is longer than this "
                                                                "computer's free memory can hold")
                                               : read.error));
    return false;
  }
  const TTextFormat format{TTextEncoding::Windows1252, TLineEnd::CrLf, {}};
  mmoMemo_->BeginLoad(format);
  mmoMemo_->HoldUpdates();
  // Slices of this much work (characters, a run counting more): a few tens of milliseconds.
  constexpr qsizetype kRtfSliceWork = qsizetype{256} * 1024;
  // Built apart, then put into the control with its formats in one go.
  QTextDocument formatted;
  RichTextBridge::LeaveUnlaid(formatted);
  std::optional<TRtfDocumentBuilder> builder(std::in_place, read.content, formatted);
  const bool built = whileLoading(
      [&] {
        const bool more = builder->Step(kRtfSliceWork);
        pnlLoad_->SetProgress(750 + builder->Progress() / 4);
        return more;
      },
      0);
  builder.reset();
  if (built) {
    TTextCursor at(mmoMemo_->document());
    RichTextBridge::Insert(at, formatted);
    mmoMemo_->SetModified(false);
  }
  mmoMemo_->ReleaseUpdates();
  if (!built) return false;  // Open abandons the load
  TDecodedText shown;
  shown.format = format;
  mmoMemo_->EndLoad(shown);
  pnlLoad_->hide();
  SetFormat(format);
  if (read.formattingDropped)
    openNotice_ = MessageBox::MsgHeader() + QStringLiteral("The file '") + fileName +
                  QStringLiteral(
                      "' changes its formatting more often than a workspace can "
                      "show: the latest changes in its longest paragraphs were left "
                      "out.\rThe text is all there; saving writes the simpler "
                      "formatting.");
  return true;
}

bool TfrmEdit::loadPlainText(const QString &fileName, TDecodedChunks &decoded) {
  const TDecodedText &info = decoded.info;
  if (info.binary &&
      MessageBox::Show(
          this,
          MessageBox::MsgHeader() + QStringLiteral("The file '") + fileName +
              QStringLiteral("' does not look like text: it holds NUL characters or mostly control "
                             "characters.\rShown as text it is hard to read, and saving it after a "
                             "change may damage it.\r\rOpen it anyway?"),
          TMsgKind::Warning, TMsgButtons::YesNo) != TMsgResult::Yes)
    return false;
  mmoMemo_->BeginLoad(info.format);
  // Shown as it goes in, read-only until it is all there, so that the start of a large file can
  // be read at once: the view lays out only what it shows, and of a line that grows only the
  // piece it grows in.
  // Chunk after chunk: a chunk of whole lines becomes part of the text as it is, so that the
  // text is never held twice.
  const QScopedValueRollback<const std::deque<QString> *> chunks(chunksToLoad_, &decoded.chunks);
  const qsizetype size = std::max<qsizetype>(decoded.Size(), 1);
  qsizetype done = 0;  // characters of the chunks let go
  qsizetype from = 0;  // in the first chunk
  const bool shown = whileLoading(
      [&] {
        if (decoded.chunks.empty()) return false;
        QString &chunk = decoded.chunks.front();
        if (from == 0 && chunk.endsWith(u'\n')) {
          // Whole lines: the text store holds the chunk as it is, without a copy.
          done += chunk.size();
          mmoMemo_->LoadChunk(std::move(chunk));
          decoded.chunks.pop_front();
        } else {
          // Part of a line longer than a chunk: a slice at a time, so that the view lays out
          // one slice's pieces of it between events.
          from = mmoMemo_->LoadSlice(chunk, from, kSliceChars);
          if (from >= chunk.size()) {
            done += chunk.size();
            from = 0;
            decoded.chunks.pop_front();
          }
        }
        pnlLoad_->SetProgress(500 + int(500 * (done + from) / size));
        return !decoded.chunks.empty();
      },
      0);
  if (!shown) return false;
  mmoMemo_->EndLoad(info);
  pnlLoad_->hide();
  SetFormat(info.format);
  if (info.unreadableBytes > 0 && !info.binary) {
    const QString encoding = info.format.EncodingName();
    const QString unreadable = info.unreadableBytes == 1
                                   ? QString(QStringLiteral("1 byte that is not ") + encoding +
                                             QStringLiteral(" is shown as a box"))
                                   : QString(QString::number(info.unreadableBytes) +
                                             QStringLiteral(" bytes that are not ") + encoding +
                                             QStringLiteral(" are shown as boxes"));
    // Shown by Open once the window names the file.
    openNotice_ = MessageBox::MsgHeader() + QStringLiteral("The file '") + fileName +
                  QStringLiteral("' is not valid ") + encoding +
                  QStringLiteral(". It was read as ") + encoding + QStringLiteral("; its ") +
                  unreadable +
                  QStringLiteral(".\rNothing is lost: saving writes every byte back unchanged.");
  }
  return true;
}

void TfrmEdit::appEventsIdle() {
  barEdit_->SetText(
      pnlCaret,
      QStringLiteral("%1:%2").arg(mmoMemo_->CaretLine() + 1).arg(mmoMemo_->CaretColumn() + 1));
  const QString size = SizePanelText();
  barEdit_->SetText(pnlSize, size);
  // Sized for the file opened; a text grown longer since (one still loading, say) widens it.
  if (barEdit_->Width(pnlSize) < SizePanelWidth(size))
    barEdit_->SetWidth(pnlSize, SizePanelWidth(size));
  barEdit_->SetText(pnlModified, mmoMemo_->Modified() ? QStringLiteral("Modified") : QString());
}

void TfrmEdit::tmrKeyStateTimer() {
  barEdit_->SetText(pnlInsert,
                    KeyboardState::InsertToggled() ? QStringLiteral("OVR") : QStringLiteral("INS"));
  const TLockStates locks = KeyboardState::Read();
  barEdit_->SetText(pnlNum, locks.known && locks.numLock ? QStringLiteral("NUM") : QString());
  barEdit_->SetText(pnlCaps, locks.known && locks.capsLock ? QStringLiteral("CAP") : QString());
}

void TfrmEdit::pnlLoadCancelClicked() {
  if (operationCancel_)
    operationCancel_();
  else
    CancelLoad();
}

void TfrmEdit::BeginOperation(const QString &caption, std::function<void()> cancel) {
  operationCancel_ = std::move(cancel);
  operationReadOnly_ = mmoMemo_->isReadOnly();
  mmoMemo_->setReadOnly(true);
  pnlLoad_->StartWork(caption);
  host_.UpdateCommands();
}

void TfrmEdit::ShowOperationProgress(int perMille, bool mayShow) {
  pnlLoad_->SetProgress(perMille);
  if (mayShow && !pnlLoad_->isVisible()) pnlLoad_->show();
}

void TfrmEdit::EndOperation() {
  operationCancel_ = nullptr;
  pnlLoad_->hide();
  mmoMemo_->setReadOnly(operationReadOnly_);
  // The commands held back while it worked come back, and follow what it left once the
  // program is idle.
  host_.UpdateCommands();
  TIdleNotifier::Instance().Request();
  if (std::exchange(closeAfterOperation_, false))
    QTimer::singleShot(0, this, [this] {
      QWidget *window = qobject_cast<QMdiSubWindow *>(parentWidget());
      (window ? window : static_cast<QWidget *>(this))->close();
    });
}

void TfrmEdit::closeEvent(QCloseEvent *event) {
  if (operationCancel_) {
    // A long command stops first, leaving the text as it was; the window then closes.
    operationCancel_();
    closeAfterOperation_ = true;
    event->ignore();
    return;
  }
  if (loading_) {
    // Closing a window that is still loading stops the load; the window then goes by itself.
    CancelLoad();
    event->ignore();
    return;
  }
  if (FormCloseQuery())
    event->accept();
  else
    event->ignore();
}

bool TfrmEdit::FormCloseQuery() {
  if (!mmoMemo_->Modified() || recovery_->KeptForSession()) return true;
  const TTopMostPause pause(host_);
  host_.Activate(this);
  const TMsgResult answer = MessageBox::Show(
      this, MessageBox::MsgHeader() + QStringLiteral("Save Changes to '%1'\"?").arg(Caption()),
      TMsgKind::Confirmation, TMsgButtons::YesNoCancel);
  bool mayClose = true;
  if (answer == TMsgResult::Cancel) {
    mayClose = false;
  } else if (answer == TMsgResult::No) {
    recovery_->Discard();
  } else if (answer == TMsgResult::Yes) {
    // A document that could not be saved (or whose Save As was cancelled) stays open: closing
    // it would throw the text away.
    mayClose = host_.SaveFromClose(this);
  }
  return mayClose;
}

void TfrmEdit::mmoMemoURLClick(const QString &address) {
  host_.OpenWebLink(
      MessageBox::MsgHeader() +
          QStringLiteral("Choosing Yes will start your web-browser and connect you to '") +
          address + QStringLiteral("'.\r\rDo you wish to continue?"),
      address);
}

bool TfrmEdit::eventFilter(QObject *watched, QEvent *event) {
  if (watched == mmoMemo_ && event->type() == QEvent::KeyRelease &&
      !static_cast<QKeyEvent *>(event)->isAutoRepeat())
    FormKeyUp(static_cast<QKeyEvent *>(event)->key());
  return QWidget::eventFilter(watched, event);
}

// ---- find and replace -------------------------------------------------------------------

namespace {
enum class TSearchEnd {
  Found,     // the occurrence is selected
  NotFound,  // the selection stays
  Stopped,   // cancelled, or the window is gone: touch nothing of it
};

// Selects the next occurrence as FindReplace::Find does. The text near the selection is
// searched at once; a search that goes on beyond it runs as a long command, with its progress
// and Cancel.
TSearchEnd findOccurrence(TfrmEdit &window, const TSearchOptions &options) {
  TRichEdit &memo = *window.mmoMemo();
  FindReplace::TFindStart near = FindReplace::FindNear(memo, options, LongOperation::kLongChars);
  qsizetype found = near.found;
  if (near.rest) {
    FindReplace::TFindJob &job = *near.rest;
    const auto end = LongOperation::Run(
        window, QStringLiteral("Searching..."), {job.start, job.end, &job.text},
        [&](const TKeepGoing &keepGoing) { found = FindReplace::FindRest(job, keepGoing); });
    if (end != LongOperation::TEnd::Done) return TSearchEnd::Stopped;
  }
  if (found < 0) return TSearchEnd::NotFound;
  FindReplace::SelectOccurrence(memo, options, found);
  return TSearchEnd::Found;
}
}  // namespace

TFindDialog *TfrmEdit::SearchDialog(TFindDialog::TMode mode) {
  QPointer<TFindDialog> &dialog = mode == TFindDialog::TMode::Find ? findDialog_ : replaceDialog_;
  if (!dialog) {
    const QPointer<TFindDialog> &other =
        mode == TFindDialog::TMode::Find ? replaceDialog_ : findDialog_;
    dialog = new TFindDialog(mode, this);
    if (other) dialog->SetFindText(other->FindText());
    connect(dialog, &TFindDialog::FindNextClicked, this,
            [this, d = dialog.data()] { dialogFindNext(d); });
    connect(dialog, &TFindDialog::ReplaceClicked, this,
            [this, d = dialog.data()] { dialogReplace(d); });
    connect(dialog, &TFindDialog::ReplaceAllClicked, this,
            [this, d = dialog.data()] { dialogReplaceAll(d); });
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
  if (Busy()) return;
  // The dialog of the last search with its text and options as they are now.
  if (lastSearchDialog_) searchState_.Remember(lastSearchDialog_->Options());
  if (!searchState_.HasLastSearch()) return;
  const TSearchOptions options = searchState_.LastSearch();
  if (findOccurrence(*this, options) == TSearchEnd::NotFound) mmoMemoTextNotFound(options.findText);
}

void TfrmEdit::mmoMemoTextNotFound(const QString &findText) {
  MessageBox::Show(this, MessageBox::MsgHeader() + FindReplace::NotFoundText(findText),
                   TMsgKind::Information, TMsgButtons::Ok);
}

void TfrmEdit::moveOutOfTheWay(TFindDialog *dialog) {
  const QScreen *screen = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
  const qsizetype start = mmoMemo_->SelStart();
  const auto to = FindReplace::MoveOutOfTheWay(
      dialog->frameGeometry(), mmoMemo_->PositionToScreen(start),
      mmoMemo_->PositionToScreen(start + mmoMemo_->SelLength()), screen->availableGeometry());
  if (to) dialog->move(*to);
}

void TfrmEdit::dialogFindNext(TFindDialog *dialog, const std::optional<QString> &replaceText) {
  if (Busy()) return;
  const TSearchOptions options = dialog->Options();
  if (!options.findText.isEmpty()) lastSearchDialog_ = dialog;
  searchState_.Remember(options);
  // The dialog may go while a long search runs.
  const QPointer<TFindDialog> dialogGuard(dialog);
  switch (findOccurrence(*this, options)) {
    case TSearchEnd::Found:
      // The occurrence found, now selected: one selected beforehand was searched from.
      if (replaceText) mmoMemo_->ReplaceSelection(*replaceText);
      if (dialogGuard) moveOutOfTheWay(dialogGuard);
      break;
    case TSearchEnd::NotFound:
      mmoMemoTextNotFound(options.findText);
      break;
    case TSearchEnd::Stopped:
      break;
  }
}

void TfrmEdit::dialogReplace(TFindDialog *dialog) { dialogFindNext(dialog, dialog->ReplaceText()); }

void TfrmEdit::dialogReplaceAll(TFindDialog *dialog) {
  if (Busy()) return;
  const TSearchOptions options = dialog->Options();
  if (!options.findText.isEmpty()) lastSearchDialog_ = dialog;
  searchState_.Remember(options);
  const qsizetype size = mmoMemo_->PositionCount();
  const bool isLong = !options.findText.isEmpty() && LongOperation::IsLong(size);
  FindReplace::TReplaceAllJob job =
      FindReplace::ReplaceAllJobFor(*mmoMemo_, options, dialog->ReplaceText(), !isLong);
  FindReplace::TReplaceAllPlan plan;
  TNewDocument replacing(*mmoMemo_);
  if (isLong) {
    const QPointer<TFindDialog> dialogGuard(dialog);
    const LongOperation::TRead read = replacing.Possible()
                                          ? replacing.Read(*mmoMemo_, &job.text)
                                          : LongOperation::TRead(0, size, &job.text);
    const auto end = LongOperation::Run(
        *this, QStringLiteral("Replacing..."), read, [&](const TKeepGoing &keepGoing) {
          plan = FindReplace::PlanReplaceAll(job, ShareOf(keepGoing, 0, 500));
          // One long stretch changed: the text is taken in as a new document.
          if (plan.count > 0 && plan.starts.empty() && replacing.Possible() &&
              TNewDocument::Worth(plan.start, plan.end))
            replacing.Build(job.text, plan.start, plan.end, plan.text,
                            TNewDocument::TBreaks::InOrder, ShareOf(keepGoing, 500, 1000));
        });
    if (end != LongOperation::TEnd::Done || !dialogGuard) return;
  } else {
    plan = FindReplace::PlanReplaceAll(job);
  }
  if (!replacing.Take(*mmoMemo_, plan.caret)) FindReplace::ApplyReplaceAll(*mmoMemo_, plan);
  if (plan.count > 0)
    moveOutOfTheWay(dialog);
  else
    mmoMemoTextNotFound(options.findText);
}

void TfrmEdit::ConvertCase(int tag) {
  if (Busy()) return;
  const bool isLong = LongOperation::IsLong(mmoMemo_->SelLength() > 0 ? mmoMemo_->SelLength()
                                                                      : mmoMemo_->PositionCount());
  std::optional<TCaseJob> job = CaseJobFor(*mmoMemo_, tag, !isLong);
  if (!job) return;
  QString converted;
  if (isLong) {
    TNewDocument replacing(*mmoMemo_);
    // The whole text is read when the result goes in as a new document.
    QString whole;
    const LongOperation::TRead read =
        replacing.Possible() ? replacing.Read(*mmoMemo_, &whole)
                             : LongOperation::TRead(job->From(), job->To(), &job->text);
    const auto end = LongOperation::Run(
        *this, QStringLiteral("Converting case..."), read, [&](const TKeepGoing &keepGoing) {
          if (replacing.Possible()) job->text = whole.mid(job->From(), job->length);
          converted = ConvertText(job->kind, job->text, ShareOf(keepGoing, 0, 400));
          if (replacing.Possible() && (job->selection || converted != job->text))
            replacing.Build(whole, job->From(), job->To(), converted,
                            TNewDocument::TBreaks::InOrder, ShareOf(keepGoing, 400, 1000));
        });
    if (end != LongOperation::TEnd::Done) return;
    // A converted selection leaves the caret after it, a whole text's where it was.
    if (replacing.Take(*mmoMemo_, job->selection ? job->To() : job->start)) return;
  } else {
    converted = ConvertText(job->kind, job->text);
  }
  ApplyCaseJob(*mmoMemo_, *job, converted);
}

bool TfrmEdit::replaceLong(qsizetype start, qsizetype end, const QString &text, TUndoKind kind) {
  TNewDocument replacing(*mmoMemo_);
  if (Busy() || !replacing.Possible()) return false;
  QString whole;
  const auto finished = LongOperation::Run(
      *this, QStringLiteral("Changing text..."), replacing.Read(*mmoMemo_, &whole),
      [&](const TKeepGoing &keepGoing) {
        replacing.Build(whole, start, end, text, TNewDocument::TBreaks::Typed, keepGoing);
      });
  // Stopped, the text stays as it was.
  if (finished == LongOperation::TEnd::Done) replacing.Take(*mmoMemo_, start + text.size(), kind);
  return true;
}
