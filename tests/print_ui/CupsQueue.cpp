// SPDX-License-Identifier: GPL-3.0-or-later
#include "CupsQueue.h"

#include <pwd.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTest>

namespace {

const QString kCupsd = QStringLiteral("/usr/sbin/cupsd");
const QString kBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
const QString kConfig = QStringLiteral("/etc/cups/cups-pdf.conf");

QString ServerFolder() {
  static const QString folder = [] {
    QString f = QDir::tempPath() + QStringLiteral("/vellumix-cups-%1").arg(::getpid());
    QDir().mkpath(f);
    return f;
  }();
  return folder;
}

// Before main(): every test of this process talks to its own print server.
const bool kServerSet = [] {
  qputenv("CUPS_SERVER", (ServerFolder() + QStringLiteral("/cups.sock")).toLocal8Bit());
  return true;
}();

QDateTime started;

}  // namespace

QString TCupsQueue::Socket() { return ServerFolder() + QStringLiteral("/cups.sock"); }

TCupsQueue::~TCupsQueue() {
  if (cupsd_) {
    cupsd_->terminate();
    if (!cupsd_->waitForFinished(10000)) cupsd_->kill();
    cupsd_->waitForFinished(5000);
  }
  if (!outputFolderExisted_) QDir(outputFolder()).removeRecursively();
  if (!dir_.isEmpty()) QDir(dir_).removeRecursively();
}

bool TCupsQueue::Start(QString *reason, const QStringList &queues, const QString &defaultQueue) {
  for (const QString &file : {kCupsd, kBackend, kPpd})
    if (!QFileInfo::exists(file)) {
      *reason = file + QStringLiteral(" is not installed");
      return false;
    }
  (void)kServerSet;
  dir_ = ServerFolder() + QStringLiteral("/server");
  for (const char *sub : {"root/ppd", "spool/tmp", "cache", "state", "log"})
    QDir().mkpath(dir_ + u'/' + QLatin1String(sub));
  // Filters run as the server's own user: they must reach the spool.
  for (const QString &d : QStringList{ServerFolder(), dir_, dir_ + QStringLiteral("/spool"),
                                      dir_ + QStringLiteral("/root")})
    QFile::setPermissions(d, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                 QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                 QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                 QFileDevice::ExeOther);
  QFile::setPermissions(dir_ + QStringLiteral("/spool/tmp"), QFileDevice::Permissions(0x7777));
  QFile conf(dir_ + QStringLiteral("/cupsd.conf"));
  conf.open(QIODevice::WriteOnly);
  conf.write(("Listen " + Socket().toLocal8Bit() +
              "\nLogLevel info\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
              "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n"));
  conf.close();
  QFile files(dir_ + QStringLiteral("/cups-files.conf"));
  files.open(QIODevice::WriteOnly);
  const QByteArray d = dir_.toLocal8Bit();
  files.write("ServerRoot " + d + "/root\nRequestRoot " + d + "/spool\nTempDir " + d +
              "/spool/tmp\nCacheDir " + d + "/cache\nStateDir " + d + "/state\nErrorLog " + d +
              "/log/error_log\nAccessLog " + d + "/log/access_log\nPageLog " + d +
              "/log/page_log\nPrintcap " + d +
              "/printcap\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
              "FileDevice No\n");
  files.close();

  cupsd_ = std::make_unique<QProcess>();
  cupsd_->setProcessChannelMode(QProcess::MergedChannels);
  cupsd_->start(kCupsd, {QStringLiteral("-f"), QStringLiteral("-c"), conf.fileName(),
                         QStringLiteral("-s"), files.fileName()});
  if (!cupsd_->waitForStarted(10000)) {
    *reason = QStringLiteral("cupsd could not be started: ") + cupsd_->errorString();
    return false;
  }
  const bool listening = QTest::qWaitFor(
      [&] {
        if (cupsd_->state() != QProcess::Running) return true;
        QLocalSocket probe;
        probe.connectToServer(Socket());
        return probe.waitForConnected(200);
      },
      30000);
  if (!listening || cupsd_->state() != QProcess::Running) {
    *reason = QStringLiteral("cupsd does not run on this machine: ") +
              QString::fromLocal8Bit(cupsd_->readAll()) + ErrorLog();
    return false;
  }
  const QString out = outputFolder();
  outputFolderExisted_ = QFileInfo::exists(out);
  started = QDateTime::currentDateTime().addSecs(-1);
  // Poppler's converter keeps the text of the fonts readable in the PDF that comes out.
  for (const QString &queue : queues)
    if (!lpadmin({QStringLiteral("-p"), queue, QStringLiteral("-E"), QStringLiteral("-v"),
                  QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), kPpd, QStringLiteral("-o"),
                  QStringLiteral("pdftops-renderer-default=pdftops")},
                 reason))
      return false;
  return defaultQueue.isEmpty() || lpadmin({QStringLiteral("-d"), defaultQueue}, reason);
}

bool TCupsQueue::lpadmin(const QStringList &arguments, QString *reason) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(QStringLiteral("lpadmin"), QStringList{QStringLiteral("-h"), Socket()} + arguments);
  if (!p.waitForFinished(30000) || p.exitCode() != 0) {
    *reason = QStringLiteral("lpadmin ") + arguments.join(u' ') + QStringLiteral(": ") +
              QString::fromLocal8Bit(p.readAll());
    return false;
  }
  return true;
}

QString TCupsQueue::ErrorLog() const {
  QFile log(dir_ + QStringLiteral("/log/error_log"));
  return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(4000))
                                       : QString();
}

// Where cups-pdf puts the files of this process's user: its "Out" setting with ${HOME} and
// ${USER} filled in.
QString TCupsQueue::outputFolder() const {
  QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
  QFile config(kConfig);
  if (config.open(QIODevice::ReadOnly))
    for (const QByteArray &line : config.readAll().split('\n'))
      if (line.startsWith("Out ")) out = QString::fromLocal8Bit(line.mid(4).trimmed());
  const passwd *user = ::getpwuid(::getuid());
  if (user) {
    out.replace(QStringLiteral("${HOME}"), QString::fromLocal8Bit(user->pw_dir));
    out.replace(QStringLiteral("${USER}"), QString::fromLocal8Bit(user->pw_name));
  }
  return out;
}

QString TCupsQueue::WaitForPdf(const QString &folder) {
  QString moved;
  (void)QTest::qWaitFor(
      [&] {
        for (const QFileInfo &pdf :
             QDir(outputFolder()).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files)) {
          if (pdf.lastModified() < started) continue;
          // Complete once the server has no job left.
          QProcess p;
          p.start(QStringLiteral("lpstat"), {QStringLiteral("-h"), Socket(), QStringLiteral("-o")});
          p.waitForFinished(30000);
          if (!p.readAllStandardOutput().trimmed().isEmpty()) return false;
          moved = folder + u'/' + pdf.fileName();
          if (!QFile::rename(pdf.filePath(), moved) &&
              !(QFile::copy(pdf.filePath(), moved) && QFile::remove(pdf.filePath())))
            moved.clear();
          return true;
        }
        return false;
      },
      90000);
  return moved;
}
