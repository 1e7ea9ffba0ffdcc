// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <QLocale>
#include <QSysInfo>

#include "about/SupportRequest.h"
#include "about/SysInfoComp.h"

TEST(SysInfo, SnapshotHoldsThisMachinesValues) {
  const TSysInfoComp info;
  const quint64 physical = quint64(sysconf(_SC_PHYS_PAGES)) * quint64(sysconf(_SC_PAGESIZE));
  EXPECT_EQ(info.msTotalPhys(), physical);
  EXPECT_GT(physical, quint64(UINT32_MAX) / 8);  // a value that needs more than 32 bits soon
  EXPECT_LE(info.msAvailPhys(), info.msTotalPhys());
  EXPECT_LE(info.msMemoryLoad(), 100u);
  EXPECT_EQ(info.siPageSize(), quint32(sysconf(_SC_PAGESIZE)));
  EXPECT_EQ(info.siNumberOfProcessors(), quint32(sysconf(_SC_NPROCESSORS_ONLN)));
  EXPECT_NE(info.siActiveProcessorMask(), 0u);
  EXPECT_LT(info.siMinimumApplicationAddress(), info.siMaximumApplicationAddress());
  EXPECT_GT(info.msAvailVirtual(), 0u);
  EXPECT_EQ(info.osPlatformId(), TSysInfoComp::PlatformLinux);
  EXPECT_EQ(TSysInfoComp::PlatformText(info.osPlatformId()), QStringLiteral("Linux"));
  EXPECT_TRUE(QSysInfo::kernelVersion().startsWith(info.VersionText() + u'.'))
      << info.VersionText().toStdString();
  if (QSysInfo::currentCpuArchitecture() == QLatin1String("x86_64")) {
    EXPECT_EQ(TSysInfoComp::ArchitectureText(info.siProcessorArchitecture()),
              QStringLiteral("x86-64"));
    EXPECT_EQ(info.siProcessorType(), 8664u);
  }
}

TEST(SysInfo, PropertiesCannotBeAssigned) {
  TSysInfoComp info;
  const QVariant memory = info.property("msTotalPhys");
  EXPECT_FALSE(info.setProperty("msTotalPhys", QVariant(quint64(1))));
  EXPECT_FALSE(info.setProperty("osPlatformId", QVariant(2)));
  EXPECT_EQ(info.property("msTotalPhys"), memory);
  EXPECT_EQ(info.osPlatformId(), TSysInfoComp::PlatformLinux);
}

TEST(SysInfo, CodesTextsAndMemoryFormat) {
  EXPECT_EQ(TSysInfoComp::ArchitectureText(0), QStringLiteral("Intel"));
  EXPECT_EQ(TSysInfoComp::ArchitectureText(3), QStringLiteral("PPC"));
  EXPECT_EQ(TSysInfoComp::ArchitectureText(6), QStringLiteral("Unknown"));
  EXPECT_EQ(TSysInfoComp::PlatformText(2), QStringLiteral("Windows NT"));
  EXPECT_EQ(TSysInfoComp::PlatformText(3), QStringLiteral("Unknown"));
  EXPECT_EQ(TSysInfoComp::ArchitectureOf("i686"), TSysInfoComp::ArchIntel);
  EXPECT_EQ(TSysInfoComp::ArchitectureOf("aarch64"), TSysInfoComp::ArchArm64);
  EXPECT_EQ(TSysInfoComp::ArchitectureOf("riscv64"), TSysInfoComp::ArchUnknown);
  EXPECT_EQ(TSysInfoComp::ProcessorTypeOf("i486"), 486u);
  const QString sep = QLocale().groupSeparator();
  EXPECT_EQ(TSysInfoComp::MemoryText(67108864),
            QStringLiteral("67") + sep + QStringLiteral("108") + sep + QStringLiteral("864 bytes"));
  EXPECT_EQ(TSysInfoComp::MemoryText(0), QStringLiteral("0 bytes"));
}

TEST(SysInfo, MemInfoLinesAreReadSafely) {
  const QByteArray text =
      "MemTotal:       16318480 kB\nMemFree:  12 kB\nHugePages_Total:       7\n"
      "Broken: x kB\nHuge: 99999999999999999999 kB\nMemAvailable:\n";
  EXPECT_EQ(TSysInfoComp::MemInfoValue(text, "MemTotal"), 16318480ull * 1024);
  EXPECT_EQ(TSysInfoComp::MemInfoValue(text, "MemFree"), 12ull * 1024);
  EXPECT_EQ(TSysInfoComp::MemInfoValue(text, "HugePages_Total"), 7u);
  EXPECT_EQ(TSysInfoComp::MemInfoValue(text, "Broken"), 0u);
  EXPECT_EQ(TSysInfoComp::MemInfoValue(text, "Huge"), 0u);  // out of range: not a number
  EXPECT_EQ(TSysInfoComp::MemInfoValue(text, "MemAvailable"), 0u);
  EXPECT_EQ(TSysInfoComp::MemInfoValue(text, "Missing"), 0u);
}

TEST(SupportRequest, BodyHoldsTheNineteenLinesWithTheMachineSummary) {
  const TSysInfoComp info;
  const QStringList body =
      SupportRequest::Body(QStringLiteral("Vellumix"), QStringLiteral("2.0"), info);
  ASSERT_EQ(body.size(), 19);
  const QString separator(47, u'=');
  for (int line : {1, 4, 11, 14, 17}) EXPECT_EQ(body[line], separator) << line;
  EXPECT_EQ(body[2], QStringLiteral("\tProgram Name:\tVellumix"));
  EXPECT_EQ(body[3], QStringLiteral("\tProgram Version:\t2.0"));
  EXPECT_EQ(body[7],
            QStringLiteral("\tPhysical Memory:\t") + TSysInfoComp::MemoryText(info.msTotalPhys()));
  EXPECT_EQ(body[8], QStringLiteral("\tPlatform:\t\tLinux"));
  EXPECT_EQ(body[10], QStringLiteral("\tBuild:\t\t") + QString::number(info.osBuildNumber()));
  EXPECT_TRUE(body[13].isEmpty());
  EXPECT_TRUE(body[16].isEmpty());
  EXPECT_TRUE(body[18].endsWith(QStringLiteral("product support. ")));
  EXPECT_EQ(SupportRequest::Subject(QStringLiteral("Vellumix")),
            QStringLiteral("Vellumix technical support"));
}
