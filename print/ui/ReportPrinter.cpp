// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ui/ReportPrinter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "print/core/ReportRenderer.h"

namespace ReportPrinter {

std::vector<int> PageOrder(int pageCount, const TPrintJob &job) {
  const int first = std::max(job.firstPage, 1);
  const int last = std::min(job.lastPage, pageCount);
  const int copies = std::clamp(job.copies, 1, 999);
  std::vector<int> order;
  if (first > last) return order;
  if (job.collate) {
    for (int c = 0; c < copies; ++c)
      for (int p = first; p <= last; ++p) order.push_back(p);
  } else {
    for (int p = first; p <= last; ++p)
      for (int c = 0; c < copies; ++c) order.push_back(p);
  }
  return order;
}

bool Print(const TPreparedReport &report, QPrinter &printer, const TPrintJob &job, QString *error) {
  const std::vector<int> order = PageOrder(int(report.pages.size()), job);
  if (order.empty()) {
    if (error) *error = QStringLiteral("There are no pages to print");
    return false;
  }
  printer.setCopyCount(1);  // copies are laid out here, in the order asked for
  printer.setDocName(job.title);
  // Size and orientation are set one by one: a whole page layout with no margins is refused by
  // printers that cannot print to the edge, which left them on their default paper.
  const QSizeF portrait = report.landscape ? report.paperSize.transposed() : report.paperSize;
  const QPageSize size(portrait, QPageSize::Millimeter, report.paperName, QPageSize::ExactMatch);
  printer.setPageSize(size);
  printer.setPageOrientation(report.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer.setFullPage(true);  // the template's margins are the only margins
  QPainter painter;
  if (!painter.begin(&printer)) {
    if (error) {
      const QString where =
          printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
      *error = QStringLiteral("Cannot print to ") + where;
    }
    return false;
  }
  const int total = int(report.pages.size());
  for (size_t i = 0; i < order.size(); ++i) {
    if (i > 0) printer.newPage();
    ReportRenderer::PaintReportPage(painter, report, size_t(order[i] - 1), total);
  }
  painter.end();
  return true;
}

}  // namespace ReportPrinter
