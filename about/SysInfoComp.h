// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// A snapshot of the machine's memory, processor and operating system, taken once when the
// component is made, from /proc/meminfo, sysconf and uname. Every property is read-only:
// assigning one through the property system changes nothing. Memory values are 64-bit, since
// this machine's memory does not fit 32 bits.
//
// Codes on Linux: the architecture codes keep the classic numbers (0 Intel for 32-bit x86,
// 1 MIPS, 2 Alpha, 3 PPC) and add 5 ARM, 9 x86-64 and 12 ARM64; 0xFFFF is unknown. The
// platform code of Linux is 4. The processor type is 386, 486 or 586 for 32-bit x86, 8664 for
// x86-64, else 0. Level and revision are the processor family and model with stepping.
class TSysInfoComp : public QObject {
  Q_OBJECT
  Q_PROPERTY(quint32 msMemoryLoad READ msMemoryLoad CONSTANT)
  Q_PROPERTY(quint64 msTotalPhys READ msTotalPhys CONSTANT)
  Q_PROPERTY(quint64 msAvailPhys READ msAvailPhys CONSTANT)
  Q_PROPERTY(quint64 msTotalPageFile READ msTotalPageFile CONSTANT)
  Q_PROPERTY(quint64 msAvailPageFile READ msAvailPageFile CONSTANT)
  Q_PROPERTY(quint64 msTotalVirtual READ msTotalVirtual CONSTANT)
  Q_PROPERTY(quint64 msAvailVirtual READ msAvailVirtual CONSTANT)
  Q_PROPERTY(quint16 siProcessorArchitecture READ siProcessorArchitecture CONSTANT)
  Q_PROPERTY(quint32 siPageSize READ siPageSize CONSTANT)
  Q_PROPERTY(quint64 siMinimumApplicationAddress READ siMinimumApplicationAddress CONSTANT)
  Q_PROPERTY(quint64 siMaximumApplicationAddress READ siMaximumApplicationAddress CONSTANT)
  Q_PROPERTY(quint64 siActiveProcessorMask READ siActiveProcessorMask CONSTANT)
  Q_PROPERTY(quint32 siNumberOfProcessors READ siNumberOfProcessors CONSTANT)
  Q_PROPERTY(quint32 siProcessorType READ siProcessorType CONSTANT)
  Q_PROPERTY(quint32 siAllocationGranularity READ siAllocationGranularity CONSTANT)
  Q_PROPERTY(quint16 siProcessorLevel READ siProcessorLevel CONSTANT)
  Q_PROPERTY(quint16 siProcessorRevision READ siProcessorRevision CONSTANT)
  Q_PROPERTY(quint32 osMajorVersion READ osMajorVersion CONSTANT)
  Q_PROPERTY(quint32 osMinorVersion READ osMinorVersion CONSTANT)
  Q_PROPERTY(quint16 osBuildNumber READ osBuildNumber CONSTANT)
  Q_PROPERTY(quint32 osPlatformId READ osPlatformId CONSTANT)
  Q_PROPERTY(QString osCSDVersion READ osCSDVersion CONSTANT)

 public:
  static constexpr quint16 ArchIntel = 0, ArchMips = 1, ArchAlpha = 2, ArchPpc = 3, ArchArm = 5,
                           ArchX8664 = 9, ArchArm64 = 12, ArchUnknown = 0xFFFF;
  static constexpr quint32 PlatformLinux = 4;

  explicit TSysInfoComp(QObject *parent = nullptr);

  quint32 msMemoryLoad() const { return memoryLoad_; }
  quint64 msTotalPhys() const { return totalPhys_; }
  quint64 msAvailPhys() const { return availPhys_; }
  quint64 msTotalPageFile() const { return totalPageFile_; }
  quint64 msAvailPageFile() const { return availPageFile_; }
  quint64 msTotalVirtual() const { return totalVirtual_; }
  quint64 msAvailVirtual() const { return availVirtual_; }
  quint16 siProcessorArchitecture() const { return architecture_; }
  quint32 siPageSize() const { return pageSize_; }
  quint64 siMinimumApplicationAddress() const { return minAddress_; }
  quint64 siMaximumApplicationAddress() const { return maxAddress_; }
  quint64 siActiveProcessorMask() const { return processorMask_; }
  quint32 siNumberOfProcessors() const { return processors_; }
  quint32 siProcessorType() const { return processorType_; }
  quint32 siAllocationGranularity() const { return pageSize_; }
  quint16 siProcessorLevel() const { return level_; }
  quint16 siProcessorRevision() const { return revision_; }
  quint32 osMajorVersion() const { return major_; }
  quint32 osMinorVersion() const { return minor_; }
  quint16 osBuildNumber() const { return build_; }
  quint32 osPlatformId() const { return platform_; }
  QString osCSDVersion() const { return csdVersion_; }

  // Display texts of the codes.
  static QString ArchitectureText(quint16 code);
  static QString PlatformText(quint32 code);
  // "#,###,###,### bytes" with the locale's thousands separator.
  static QString MemoryText(quint64 bytes);
  // Major, ".", minor.
  QString VersionText() const;

  // Values of "Name:   1234 kB" lines of a /proc/meminfo text, in bytes; 0 when absent.
  static quint64 MemInfoValue(const QByteArray &memInfo, const QByteArray &name);
  // Architecture code and processor type for a uname machine name.
  static quint16 ArchitectureOf(const QByteArray &machine);
  static quint32 ProcessorTypeOf(const QByteArray &machine);

 private:
  void ReadMemory();
  void ReadProcessor();
  void ReadVersion();

  quint32 memoryLoad_ = 0;
  quint64 totalPhys_ = 0, availPhys_ = 0, totalPageFile_ = 0, availPageFile_ = 0;
  quint64 totalVirtual_ = 0, availVirtual_ = 0;
  quint16 architecture_ = ArchUnknown;
  quint32 pageSize_ = 0;
  quint64 minAddress_ = 0, maxAddress_ = 0, processorMask_ = 0;
  quint32 processors_ = 0, processorType_ = 0;
  quint16 level_ = 0, revision_ = 0;
  quint32 major_ = 0, minor_ = 0;
  quint16 build_ = 0;
  quint32 platform_ = PlatformLinux;
  QString csdVersion_;
};
