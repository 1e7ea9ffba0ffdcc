// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "print/core/PreparedReport.h"

class QPrinter;

// Sends prepared pages to a printer (or PDF file).
namespace ReportPrinter {

struct TPrintJob {
  int firstPage = 1;
  int lastPage = 1;  // limited to the pages prepared
  int copies = 1;
  bool collate = false;  // all pages of one copy before the next copy
  QString title;         // the job's name in the print queue
};

// Prints the job; false with error set when the printer cannot be used. The page size and
// orientation follow the report's.
bool Print(const TPreparedReport &report, QPrinter &printer, const TPrintJob &job, QString *error);

// The order pages go out in: page numbers (1-based), copies included.
std::vector<int> PageOrder(int pageCount, const TPrintJob &job);

}  // namespace ReportPrinter
