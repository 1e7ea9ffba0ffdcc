// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ui/fmPreview.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "print/core/ReportRenderer.h"

namespace {

// Work per step of the layout between events (kept short so typing and scrolling stay smooth).
constexpr qint64 kStepMilliseconds = 40;

QToolButton *NavButton(const QString &text, const QString &tip, QWidget *parent) {
  auto *b = new QToolButton(parent);
  b->setText(text);
  b->setToolTip(tip);
  b->setAutoRaise(true);
  return b;
}

}  // namespace

TfrmPreview::TfrmPreview(const TReportTemplate &report, const TReportCallbacks &callbacks,
                         std::function<void(const TPreparedReport &)> print, QWidget *parent)
    : QDialog(parent),
      layout_(std::make_unique<TReportLayout>(report, callbacks)),
      print_(std::move(print)) {
  setWindowTitle(QStringLiteral("Print Preview"));
  setModal(true);
  auto *bar = new QHBoxLayout;
  btnFirst_ = NavButton(QStringLiteral("|<"), QStringLiteral("First page"), this);
  btnPrior_ = NavButton(QStringLiteral("<"), QStringLiteral("Previous page"), this);
  edtPage_ = new QSpinBox(this);
  edtPage_->setObjectName(QStringLiteral("edtPage"));
  edtPage_->setAccessibleName(QStringLiteral("Page number"));
  edtPage_->setMinimum(1);
  edtPage_->setMinimumWidth(70);
  lblPages_ = new QLabel(this);
  lblPages_->setObjectName(QStringLiteral("lblPages"));
  btnNext_ = NavButton(QStringLiteral(">"), QStringLiteral("Next page"), this);
  btnLast_ = NavButton(QStringLiteral(">|"), QStringLiteral("Last page"), this);
  cbxZoom_ = new QComboBox(this);
  cbxZoom_->setObjectName(QStringLiteral("cbxZoom"));
  cbxZoom_->addItems({QStringLiteral("Whole Page"), QStringLiteral("Page Width"),
                      QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                      QStringLiteral("150%"), QStringLiteral("200%")});
  btnPrint_ = new QToolButton(this);
  btnPrint_->setObjectName(QStringLiteral("btnPrint"));
  btnPrint_->setText(QStringLiteral("&Print..."));
  btnPrint_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto *btnClose = new QPushButton(QStringLiteral("&Close"), this);
  btnClose->setObjectName(QStringLiteral("btnClose"));
  btnClose->setAutoDefault(false);
  for (QWidget *w : std::initializer_list<QWidget *>{btnFirst_, btnPrior_, edtPage_, lblPages_,
                                                     btnNext_, btnLast_})
    bar->addWidget(w);
  bar->addSpacing(16);
  bar->addWidget(new QLabel(QStringLiteral("Zoom:"), this));
  bar->addWidget(cbxZoom_);
  bar->addStretch();
  bar->addWidget(btnPrint_);
  bar->addWidget(btnClose);

  imgPage_ = new QLabel;
  imgPage_->setAlignment(Qt::AlignCenter);
  scrPage_ = new QScrollArea(this);
  scrPage_->setObjectName(QStringLiteral("scrPage"));
  scrPage_->setWidget(imgPage_);
  scrPage_->setWidgetResizable(true);
  scrPage_->setBackgroundRole(QPalette::Dark);
  scrPage_->setAlignment(Qt::AlignCenter);

  auto *main = new QVBoxLayout(this);
  main->addLayout(bar);
  main->addWidget(scrPage_, 1);

  connect(btnFirst_, &QToolButton::clicked, this, [this] { ShowPage(1); });
  connect(btnPrior_, &QToolButton::clicked, this, [this] { ShowPage(page_ - 1); });
  connect(btnNext_, &QToolButton::clicked, this, [this] { ShowPage(page_ + 1); });
  connect(btnLast_, &QToolButton::clicked, this, [this] { ShowPage(PageCount()); });
  connect(edtPage_, &QSpinBox::valueChanged, this, [this](int page) { ShowPage(page); });
  connect(cbxZoom_, &QComboBox::currentIndexChanged, this, [this] { render(); });
  connect(btnPrint_, &QToolButton::clicked, this, [this] { this->print(); });
  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

  // The text is readable at once, whatever the page count: the page fills the view's width.
  cbxZoom_->setCurrentIndex(cbxZoom_->findText(QStringLiteral("Page Width")));
  // Home and End go to the first and last page, also while the page number box has the focus.
  edtPage_->installEventFilter(this);
  // The fitting zooms follow the view's size, which is known only once the window is laid out.
  scrPage_->viewport()->installEventFilter(this);
  resize(760, 900);
  layout_->Step(1);  // the first page is there when the window first shows
  stepTimer_.setInterval(0);
  connect(&stepTimer_, &QTimer::timeout, this, [this] { layoutSome(); });
  if (!layout_->Done()) stepTimer_.start();
  render();
}

TfrmPreview::~TfrmPreview() = default;

int TfrmPreview::PageCount() const { return int(layout_->Report().pages.size()); }

void TfrmPreview::layoutSome() {
  QElapsedTimer clock;
  clock.start();
  while (!layout_->Done() && clock.elapsed() < kStepMilliseconds) layout_->Step(1);
  if (layout_->Done()) {
    stepTimer_.stop();
    render();  // "[Total Pages]" is known now
    Q_EMIT LayoutFinished();
  } else {
    updateControls();
  }
}

void TfrmPreview::ShowPage(int page) {
  page = std::clamp(page, 1, std::max(PageCount(), 1));
  if (page == page_) return updateControls();
  page_ = page;
  render();
}

void TfrmPreview::SetZoom(const QString &choice) {
  const int index = cbxZoom_->findText(choice);
  if (index >= 0) cbxZoom_->setCurrentIndex(index);
}

double TfrmPreview::pixelsPerMm() const {
  const QSizeF paper = layout_->Report().paperSize;
  const QString zoom = cbxZoom_->currentText();
  const QSize room = scrPage_->viewport()->size() - QSize(24, 24);
  if (zoom == QLatin1String("Whole Page"))
    return std::max(0.5, std::min(room.width() / paper.width(), room.height() / paper.height()));
  if (zoom == QLatin1String("Page Width")) return std::max(0.5, room.width() / paper.width());
  const double percent = QString(zoom).remove(u'%').toDouble();
  return logicalDpiX() / 25.4 * percent / 100;
}

QImage TfrmPreview::PageImage() const { return imgPage_->pixmap().toImage(); }

void TfrmPreview::render() {
  const TPreparedReport &report = layout_->Report();
  if (report.pages.empty()) return;
  const double scale = pixelsPerMm();
  const QSize size(qRound(report.paperSize.width() * scale),
                   qRound(report.paperSize.height() * scale));
  QImage image(size, QImage::Format_RGB32);
  image.setDotsPerMeterX(qRound(scale * 1000));
  image.setDotsPerMeterY(qRound(scale * 1000));
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const int total = layout_->Done() ? PageCount() : 0;
    ReportRenderer::PaintReportPage(painter, report, size_t(page_ - 1), total);
    painter.setPen(Qt::darkGray);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
  }
  imgPage_->setPixmap(QPixmap::fromImage(image));
  updateControls();
}

void TfrmPreview::updateControls() {
  const int count = PageCount();
  btnFirst_->setEnabled(page_ > 1);
  btnPrior_->setEnabled(page_ > 1);
  btnNext_->setEnabled(page_ < count);
  btnLast_->setEnabled(page_ < count);
  btnPrint_->setEnabled(layout_->Done());
  const QSignalBlocker block(edtPage_);
  edtPage_->setMaximum(std::max(count, 1));
  edtPage_->setValue(page_);
  lblPages_->setText(layout_->Done() ? QStringLiteral("of %1").arg(count)
                                     : QStringLiteral("of %1 (laying out...)").arg(count));
}

bool TfrmPreview::fitsView() const { return cbxZoom_->currentIndex() <= 1; }

void TfrmPreview::resizeEvent(QResizeEvent *event) {
  QDialog::resizeEvent(event);
  if (fitsView()) render();
}

bool TfrmPreview::eventFilter(QObject *watched, QEvent *event) {
  if (watched == scrPage_->viewport() && event->type() == QEvent::Resize && fitsView()) {
    // Render after the resize is over: the view's scroll bars may still change its size.
    QMetaObject::invokeMethod(
        this, [this] { render(); }, Qt::QueuedConnection);
  } else if (watched == edtPage_ &&
             (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Home || key == Qt::Key_End) {
      if (event->type() == QEvent::KeyPress) ShowPage(key == Qt::Key_Home ? 1 : PageCount());
      event->accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmPreview::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
    case Qt::Key_PageDown:
      ShowPage(page_ + 1);
      return;
    case Qt::Key_PageUp:
      ShowPage(page_ - 1);
      return;
    case Qt::Key_Home:
      ShowPage(1);
      return;
    case Qt::Key_End:
      ShowPage(PageCount());
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void TfrmPreview::print() {
  if (!layout_->Done() || !print_) return;
  print_(layout_->Report());
}
