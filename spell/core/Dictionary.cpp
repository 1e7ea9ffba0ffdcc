#include "Dictionary.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtDebug>
#include <algorithm>

#include "CodePage.h"
#include "DCTFile.h"
#include "SpellErrors.h"
#include "WordText.h"

namespace {

TDictionary *instance = nullptr;

TDictionary::TErrorBox &ErrorBox() {
  static TDictionary::TErrorBox box;
  return box;
}

void ShowError(const QString &text) {
  if (ErrorBox())
    ErrorBox()(text);
  else
    qWarning().noquote() << text;
}

}  // namespace

void TDictionary::SetErrorBox(TErrorBox box) { ErrorBox() = std::move(box); }

TDictionary *TDictionary::Instance() { return instance; }

TDictionary::TDictionary() {
  if (instance) {
    ShowError(QStringLiteral(
        "Programmer Error. Only one dictionary\robject can be initialized at once."));
    throw TEDictionaryInUse(QStringLiteral("Multiple Dictionaries not supported."));
  }
  instance = this;
}

TDictionary::~TDictionary() {
  try {
    CloseAll();
  } catch (const TSpellError &error) {
    // A destructor cannot pass the error on; the user still learns that the words were not saved.
    ShowError(error.Message());
  }
  mainFiles_.Clear();
  if (instance == this) instance = nullptr;
}

TDCTFile *TDictionary::FirstMainFile() const { return static_cast<TDCTFile *>(mainFiles_.Head()); }

QString TDictionary::FirstMainFolder() const {
  const TDCTFile *first = FirstMainFile();
  return first ? QFileInfo(first->FileName()).absolutePath() : QString();
}

bool TDictionary::OpenMainDictionary(const QString &fileName) {
  const QByteArray name = WordText::FileNamePart(fileName.toUtf8());
  for (auto *node = mainFiles_.Head(); node; node = node->Next()) {
    const auto *file = static_cast<TDCTFile *>(node);
    if (WordText::EqualIgnoreCase(WordText::FileNamePart(file->FileName().toUtf8()), name))
      return true;
  }
  try {
    mainFiles_.Append(new TDCTFile(fileName));
  } catch (const Spell::EFOpenError &) {
    return false;
  }
  opened_ = true;
  return true;
}

TDictionary::TFileStamp TDictionary::StampOf(const QString &path) {
  const QFileInfo info(path);
  if (!info.isFile()) return {};
  return {info.size(), info.lastModified()};
}

QList<QByteArray> TDictionary::ReadWordFile(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw Spell::EInOutError(
        QStringLiteral("Cannot read word list \"%1\": %2").arg(path, file.errorString()));
  QByteArray bytes;
  if (!WordFile::ReadAtMost(file, WordFile::kMaxFileSize, bytes)) {
    if (file.error() != QFileDevice::NoError)
      throw Spell::EInOutError(
          QStringLiteral("Cannot read word list \"%1\": %2").arg(path, file.errorString()));
    throw Spell::EInOutError(QStringLiteral("Word list \"%1\" is too large to read.").arg(path));
  }
  return WordFile::SplitLines(bytes);
}

bool TDictionary::OpenUserDictionary(const QString &fileName) {
  // The old shared proofing folder of another platform does not exist here, so a name such
  // as "CUSTOM.DIC" is placed like any other name.
  QString readFrom;
  if (fileName.contains(QLatin1Char('/'))) {
    userPath_ = fileName;
  } else {
    const QString folder = FirstMainFolder();
    if (!folder.isEmpty() && QFileInfo(folder).isWritable()) {
      userPath_ = folder + QLatin1Char('/') + fileName;
    } else {
      userPath_ = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                  QStringLiteral("/vellumix/") + fileName;
      if (!QFileInfo(userPath_).isFile() && !folder.isEmpty())
        readFrom = folder + QLatin1Char('/') + fileName;
    }
  }
  if (readFrom.isEmpty()) readFrom = userPath_;
  loadedStamp_ = StampOf(userPath_);
  if (!QFileInfo(readFrom).isFile()) return false;
  userWords_.Assign(ReadWordFile(readFrom));
  return true;
}

bool TDictionary::OpenExclusionList(const QString &fileName) {
  exclusions_.reset();
  QString path = fileName;
  if (!QFileInfo(path).isFile()) {
    const QString folder = FirstMainFolder();
    if (folder.isEmpty()) return false;
    path = folder + QLatin1Char('/') + QFileInfo(fileName).fileName();
    if (!QFileInfo(path).isFile()) return false;
  }
  TExclusions list;
  list.words = ReadWordFile(path);
  for (const QByteArray &word : list.words) list.folded.append(WordText::Fold(word));
  std::sort(list.folded.begin(), list.folded.end());
  exclusions_ = std::move(list);
  return true;
}

bool TDictionary::IsExcluded(QByteArrayView word) const {
  if (!exclusions_) return false;
  const QByteArray folded = WordText::Fold(word);
  return std::binary_search(exclusions_->folded.cbegin(), exclusions_->folded.cend(), folded);
}

bool TDictionary::IsWord(QByteArrayView word) {
  QByteArray copy = WordText::Fold(WordText::Clip(word));
  if (copy.endsWith("'s")) copy.chop(2);
  if (copy.isEmpty()) return false;
  if (IsExcluded(copy)) return false;
  if (userWords_.Contains(copy)) return true;
  for (auto *node = mainFiles_.Head(); node; node = node->Next())
    if (static_cast<TDCTFile *>(node)->ContainsWord(copy)) return true;
  return false;
}

bool TDictionary::AddWord(QByteArrayView word) {
  if (IsWord(word)) return false;
  const QByteArray folded = WordText::Fold(WordText::Clip(word));
  if (folded.isEmpty()) return false;
  userWords_.Insert(folded);
  modified_ = true;
  return true;
}

void TDictionary::SaveUserDictionary() {
  if (userPath_.isEmpty()) return;
  const TFileStamp now = StampOf(userPath_);
  if (now.size > 0 && !(now == loadedStamp_)) {
    // Another writer changed the file since it was loaded: keep its words too.
    for (const QByteArray &word : ReadWordFile(userPath_)) userWords_.Insert(word);
  }
  QDir().mkpath(QFileInfo(userPath_).absolutePath());
  QSaveFile file(userPath_);
  if (!file.open(QIODevice::WriteOnly) || file.write(WordFile::JoinLines(userWords_.Words())) < 0 ||
      !file.commit())
    throw Spell::EFCreateError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(userPath_, file.errorString()));
  modified_ = false;
}

void TDictionary::CloseAll() {
  if (modified_) SaveUserDictionary();
  mainFiles_.Clear();
  opened_ = false;
}
