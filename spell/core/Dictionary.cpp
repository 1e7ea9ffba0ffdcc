// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/Dictionary.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUtf8StringView>
#include <QtDebug>
#include <algorithm>

#include "platform/core/CodePage.h"
#include "spell/core/DCTFile.h"
#include "spell/core/SpellErrors.h"
#include "spell/core/UpperMap.h"
#include "spell/core/WordText.h"

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
  if (mainFiles_.Count() == 1) rules_ = TLanguageRules::For(fileName);
  opened_ = true;
  return true;
}

TDictionary::TFileStamp TDictionary::StampOf(const QString &path) {
  const QFileInfo info(path);
  if (!info.isFile()) return {};
  return {info.size(), info.lastModified()};
}

QList<QByteArray> TDictionary::ReadWordFile(const QString &path, bool *utf8) {
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
  const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  const bool isUtf8 = !ascii && QUtf8StringView(bytes).isValidUtf8();
  if (utf8) *utf8 = ascii || isUtf8;
  if (!isUtf8) return WordFile::SplitLines(bytes);
  QList<QByteArray> lines = WordFile::SplitLines(bytes);
  for (QByteArray &line : lines) line = CodePage::ToOem437(QString::fromUtf8(line));
  return lines;
}

bool TDictionary::OpenUserDictionary(const QString &fileName) {
  // The old shared proofing folder of another platform does not exist here, so a name such
  // as "CUSTOM.DIC" is placed like any other name. The program's folder is shared by every
  // user (and writable when run from the build or as root), so a user's words never go there.
  const auto ownFile = [](const QString &path) {
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink();
  };
  QString readFrom;
  if (fileName.contains(QLatin1Char('/'))) {
    userPath_ = fileName;
  } else {
    userPath_ = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                QStringLiteral("/vellumix/") + fileName;
    const QString folder = FirstMainFolder();
    if (!ownFile(userPath_) && !folder.isEmpty()) readFrom = folder + QLatin1Char('/') + fileName;
  }
  if (readFrom.isEmpty()) readFrom = userPath_;
  loadedStamp_ = ownFile(userPath_) ? StampOf(userPath_) : TFileStamp{};
  userUtf8_ = true;
  if (!QFileInfo(readFrom).isFile() || (readFrom == userPath_ && !ownFile(readFrom))) {
    inSync_ = userWords_.Count() == 0;
    return false;
  }
  userWords_.Assign(ReadWordFile(readFrom, &userUtf8_));
  inSync_ = readFrom == userPath_;
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

bool TDictionary::IsStored(QByteArrayView typed) {
  if (typed.isEmpty()) return false;
  if (exclusions_ || userWords_.Count() > 0) {
    const QByteArray folded = WordText::Fold(typed);
    if (IsExcluded(folded)) return false;
    if (userWords_.Contains(folded) || userWords_.Contains(WordText::FoldAccents(folded)))
      return true;
  }
  for (auto *node = mainFiles_.Head(); node; node = node->Next())
    if (static_cast<TDCTFile *>(node)->ContainsAnyCase(typed)) return true;
  return false;
}

bool TDictionary::IsStoredPart(QByteArrayView typed) {
  if (IsStored(typed)) return true;
  QByteArray capitalised = typed.toByteArray();
  capitalised[0] = char(UpperMap(static_cast<unsigned char>(capitalised[0])));
  return capitalised != typed && IsStored(capitalised);
}

bool TDictionary::IsCompound(QByteArrayView typed, int partsLeft) {
  constexpr int kMin = TLanguageRules::kMinCompoundPart;
  for (qsizetype n = kMin; n + kMin <= typed.size(); ++n) {
    if (!IsStoredPart(typed.first(n))) continue;
    QByteArrayView rest = typed.sliced(n);
    for (int link = 0; link < 2; ++link) {
      if (rest.size() < kMin) break;
      if (IsStoredPart(rest) || (partsLeft > 1 && IsCompound(rest, partsLeft - 1))) return true;
      if (WordText::FoldChar(rest.front()) != 's') break;
      rest = rest.sliced(1);  // the linking "s" of "Arbeitsplatz"
    }
  }
  return false;
}

bool TDictionary::IsWord(QByteArrayView word) {
  QByteArrayView typed = word.first(qMin<qsizetype>(word.size(), WordText::kMaxWordLength));
  // The possessive ending goes; "'s" alone (Dutch "'s middags") is looked up as it stands.
  if (typed.size() > 2 && typed[typed.size() - 2] == '\'' &&
      WordText::FoldChar(typed.back()) == 's')
    typed.chop(2);
  if (typed.isEmpty()) return false;
  if (exclusions_ && IsExcluded(typed)) return false;
  if (IsStored(typed)) return true;
  // Forms the language makes of stored words; rarely reached, as most words are stored.
  const QByteArray folded = WordText::Fold(typed);
  if (rules_.pluralPossessive && folded.size() > 2 && folded.endsWith("s'"))
    return IsStored(typed.chopped(1));
  if (const QByteArrayView rest = rules_.AfterElision(folded); !rest.isEmpty())
    return IsWord(typed.last(rest.size()));
  return rules_.compounds && IsCompound(typed, 2);
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
  if (userPath_.isEmpty() || (!modified_ && inSync_)) return;
  const QFileInfo info(userPath_);
  if (info.isSymLink()) {
    // A link may lead into another user's place: the words go into a file of the user's own.
    QFile::remove(userPath_);
  } else if (const TFileStamp now = StampOf(userPath_); now.size > 0 && !(now == loadedStamp_)) {
    // Another writer changed the file since it was loaded: keep its words too.
    for (const QByteArray &word : ReadWordFile(userPath_)) userWords_.Insert(word);
  }
  QDir().mkpath(info.absolutePath());
  QByteArray bytes = WordFile::JoinLines(userWords_.Words());
  if (userUtf8_) bytes = CodePage::FromOem437(bytes).toUtf8();
  QSaveFile file(userPath_);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit())
    throw Spell::EFCreateError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(userPath_, file.errorString()));
  modified_ = false;
  inSync_ = true;
}

void TDictionary::CloseAll() {
  if (modified_) SaveUserDictionary();
  mainFiles_.Clear();
  opened_ = false;
}
