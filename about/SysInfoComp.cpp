// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/SysInfoComp.h"

#include <sched.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <QFile>
#include <QLocale>

#include "platform/core/SystemMemory.h"

namespace {

// System files are small; a bound keeps an odd one from being read whole.
constexpr qint64 MaxSystemFile = qint64{64} * 1024;

QByteArray ReadSystemFile(const char *path) {
  QFile file(QString::fromLatin1(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.read(MaxSystemFile);
}

quint32 LeadingNumber(const QByteArray &text) {
  quint32 value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    if (value > 100'000'000) break;
    value = value * 10 + quint32(c - '0');
  }
  return value;
}

}  // namespace

TSysInfoComp::TSysInfoComp(QObject *parent) : QObject(parent) {
  setObjectName(QStringLiteral("sysInfo"));
  ReadMemory();
  ReadProcessor();
  ReadVersion();
}

quint64 TSysInfoComp::MemInfoValue(const QByteArray &memInfo, const QByteArray &name) {
  return SystemMemory::MemInfoValue(memInfo, name);
}

void TSysInfoComp::ReadMemory() {
  const QByteArray memInfo = ReadSystemFile("/proc/meminfo");
  totalPhys_ = MemInfoValue(memInfo, "MemTotal");
  availPhys_ = std::min(MemInfoValue(memInfo, "MemAvailable"), totalPhys_);
  // In floating point: the product of a 64-bit value and 100 may not fit 64 bits.
  if (totalPhys_ > 0)
    memoryLoad_ = quint32(double(totalPhys_ - availPhys_) * 100.0 / double(totalPhys_));
  // The page file's part: what the kernel lets the programs commit, and what is left of it.
  totalPageFile_ = MemInfoValue(memInfo, "CommitLimit");
  const quint64 committed = MemInfoValue(memInfo, "Committed_AS");
  availPageFile_ = committed < totalPageFile_ ? totalPageFile_ - committed : 0;

  const long page = sysconf(_SC_PAGESIZE);
  pageSize_ = page > 0 ? quint32(page) : 4096;
  minAddress_ = LeadingNumber(ReadSystemFile("/proc/sys/vm/mmap_min_addr"));
  if (minAddress_ == 0) minAddress_ = pageSize_;
  maxAddress_ = sizeof(void *) == 8 ? 0x7FFF'FFFF'FFFFull : 0xBFFF'FFFFull;
  totalVirtual_ = maxAddress_ - minAddress_ + 1;
  const quint64 used = MemInfoValue(ReadSystemFile("/proc/self/status"), "VmSize");
  availVirtual_ = used < totalVirtual_ ? totalVirtual_ - used : 0;
}

void TSysInfoComp::ReadProcessor() {
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  processors_ = online > 0 ? quint32(online) : 1;
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0)
    for (int cpu = 0; cpu < 64; ++cpu)
      if (CPU_ISSET(cpu, &set)) processorMask_ |= quint64(1) << cpu;
  const QByteArray cpuInfo = ReadSystemFile("/proc/cpuinfo");
  level_ = quint16(LeadingNumber(SystemMemory::ProcField(cpuInfo, "cpu family")));
  revision_ = quint16((LeadingNumber(SystemMemory::ProcField(cpuInfo, "model")) & 0xFF) << 8 |
                      (LeadingNumber(SystemMemory::ProcField(cpuInfo, "stepping")) & 0xFF));
}

void TSysInfoComp::ReadVersion() {
  struct utsname names {};
  if (uname(&names) != 0) return;
  architecture_ = ArchitectureOf(names.machine);
  processorType_ = ProcessorTypeOf(names.machine);
  // "6.1.0-28-amd64": major, minor and the third number as the build.
  const QList<QByteArray> parts = QByteArray(names.release).split('.');
  major_ = LeadingNumber(parts.value(0));
  minor_ = LeadingNumber(parts.value(1));
  build_ = quint16(LeadingNumber(parts.value(2)) & 0xFFFF);
  csdVersion_ = QString::fromLocal8Bit(names.version).left(128);
}

quint16 TSysInfoComp::ArchitectureOf(const QByteArray &machine) {
  if (machine == "x86_64" || machine == "amd64") return ArchX8664;
  if (machine.size() == 4 && machine.startsWith('i') && machine.endsWith("86")) return ArchIntel;
  if (machine == "aarch64" || machine == "arm64") return ArchArm64;
  if (machine.startsWith("arm")) return ArchArm;
  if (machine.startsWith("mips")) return ArchMips;
  if (machine.startsWith("alpha")) return ArchAlpha;
  if (machine.startsWith("ppc") || machine.startsWith("powerpc")) return ArchPpc;
  return ArchUnknown;
}

quint32 TSysInfoComp::ProcessorTypeOf(const QByteArray &machine) {
  if (ArchitectureOf(machine) == ArchX8664) return 8664;
  if (machine == "i386") return 386;
  if (machine == "i486") return 486;
  if (ArchitectureOf(machine) == ArchIntel) return 586;
  return 0;
}

QString TSysInfoComp::ArchitectureText(quint16 code) {
  switch (code) {
    case ArchIntel:
      return QStringLiteral("Intel");
    case ArchMips:
      return QStringLiteral("MIPS");
    case ArchAlpha:
      return QStringLiteral("Alpha");
    case ArchPpc:
      return QStringLiteral("PPC");
    case ArchArm:
      return QStringLiteral("ARM");
    case ArchX8664:
      return QStringLiteral("x86-64");
    case ArchArm64:
      return QStringLiteral("ARM64");
    default:
      return QStringLiteral("Unknown");
  }
}

QString TSysInfoComp::PlatformText(quint32 code) {
  switch (code) {
    case 0:
      return QStringLiteral("Win32s on Windows 3.1");
    case 1:
      return QStringLiteral("Windows 95/98");
    case 2:
      return QStringLiteral("Windows NT");
    case PlatformLinux:
      return QStringLiteral("Linux");
    default:
      return QStringLiteral("Unknown");
  }
}

QString TSysInfoComp::MemoryText(quint64 bytes) {
  QLocale locale;
  locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  return locale.toString(bytes) + QStringLiteral(" bytes");
}

QString TSysInfoComp::VersionText() const {
  return QString::number(major_) + u'.' + QString::number(minor_);
}
