// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <iterator>

// The setting holders of the main window: named values that other windows read and write
// and that the settings store keeps in the "Main Form" section under the holder's name
// ("FilePath.Caption", "ShowMRU.Checked", ...). Code names a holder through these; each
// stored name is written once, in the table below.
enum class TMainHolder {
  FilePath,
  lblFilter,
  EditDisplay,
  lblDate,
  lblTime,
  SMTPHost,
  SMTPPort,
  SMTPUserID,
  SMTPUEmail,
  SMTPREMail,
  SMTPName,
  SMTPOrg,
  SMTPBCC,
  SMTPReminder,
  SMTPSigCheck,
  SMTPSignature,
  ImportPath,
  ExportPath,
  lblIFilter,
  lblEFilter,
  PTemplate,
  PrintFont,
  FirstTime,
  ShowMRU,
  ShowFavFiles,
  SMTPSecurity,
  SMTPLogin,
  Count
};

namespace MainSettings {

struct THolderName {
  TMainHolder id;
  const char *name;  // the stored name: never change it, stored settings use it
};

using H = TMainHolder;
inline constexpr THolderName kHolders[] = {
    {H::FilePath, "FilePath"},         {H::lblFilter, "lblFilter"},
    {H::EditDisplay, "EditDisplay"},   {H::lblDate, "lblDate"},
    {H::lblTime, "lblTime"},           {H::SMTPHost, "SMTPHost"},
    {H::SMTPPort, "SMTPPort"},         {H::SMTPUserID, "SMTPUserID"},
    {H::SMTPUEmail, "SMTPUEmail"},     {H::SMTPREMail, "SMTPREMail"},
    {H::SMTPName, "SMTPName"},         {H::SMTPOrg, "SMTPOrg"},
    {H::SMTPBCC, "SMTPBCC"},           {H::SMTPReminder, "SMTPReminder"},
    {H::SMTPSigCheck, "SMTPSigCheck"}, {H::SMTPSignature, "SMTPSignature"},
    {H::ImportPath, "ImportPath"},     {H::ExportPath, "ExportPath"},
    {H::lblIFilter, "lblIFilter"},     {H::lblEFilter, "lblEFilter"},
    {H::PTemplate, "PTemplate"},       {H::PrintFont, "PrintFont"},
    {H::FirstTime, "FirstTime"},       {H::ShowMRU, "ShowMRU"},
    {H::ShowFavFiles, "ShowFavFiles"}, {H::SMTPSecurity, "SMTPSecurity"},
    {H::SMTPLogin, "SMTPLogin"},
};

constexpr bool InOrder() {
  for (std::size_t i = 0; i < std::size(kHolders); ++i)
    if (std::size_t(kHolders[i].id) != i) return false;
  return std::size(kHolders) == std::size_t(TMainHolder::Count);
}
static_assert(InOrder(), "the holder table must list every TMainHolder in order");

// The stored name of a holder.
constexpr const char *Name(TMainHolder holder) { return kHolders[std::size_t(holder)].name; }

}  // namespace MainSettings
