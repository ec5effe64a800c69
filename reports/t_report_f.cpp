#include "reports/t_report_f.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "reports/report_export.h"
#include "reports/report_printer.h"

namespace kpr {

TReportF::TReportF(const ReportDocument& doc, const QFont& report_font, QPrinter* printer,
                   UiServices& ui, QWidget* parent)
    : QDialog(parent), doc_(doc), report_font_(report_font), printer_(printer), ui_(ui) {
  setObjectName("TReportF");
  setWindowTitle("Report");
  setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);

  auto* menu = new QMenuBar(this);
  menu->addAction("E&xit", this, &QDialog::accept)->setObjectName("mExit");
  menu->addAction("Print", this, &TReportF::PrintClicked)->setObjectName("mPrint");
  QMenu* export_menu = menu->addMenu("&Export");
  export_menu->setObjectName("mExport");
  export_menu->addAction("Ascii &Text", this, [this] { ExportClicked(false); })
      ->setObjectName("AsciiText1");
  export_menu->addAction("Tab &Delimited", this, [this] { ExportClicked(true); })
      ->setObjectName("TabDelimited1");

  auto* bevel = new QFrame(this);
  bevel->setFrameShape(QFrame::HLine);
  bevel->setFrameShadow(QFrame::Sunken);
  bevel->setFixedHeight(1);
  area_ = new QWidget(this);  // paints nothing: the window paints the report there
  area_->setAttribute(Qt::WA_TransparentForMouseEvents);
  scroll_ = new QScrollBar(Qt::Vertical, this);
  scroll_->setObjectName("ScrollBar1");
  QSizePolicy keep = scroll_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);  // the report area never takes its place
  scroll_->setSizePolicy(keep);
  connect(scroll_, &QScrollBar::valueChanged, this, [this](int v) {
    first_line_ = v;
    update(ReportArea());
  });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(menu);
  layout->addWidget(bevel);
  auto* row = new QHBoxLayout;
  row->setSpacing(0);
  row->addWidget(area_, 1);
  row->addWidget(scroll_);
  layout->addLayout(row, 1);
  setWindowState(Qt::WindowMaximized);
}

int TReportF::available_width() const { return area_->width(); }

QRect TReportF::ReportArea() const { return area_->geometry(); }

void TReportF::ComputeMetrics() {
  const int width = available_width();
  font_ = ShrunkFont(report_font_, this, doc_.ReportWidth(), width, kFloorPoints);
  metrics_ = ReportMetrics::Measure(font_, this, width, doc_.ReportWidth());
  lines_per_screen_ = std::max(1, area_->height() / metrics_.line_height);
  const int lines = doc_.LastLine() + 1;
  scroll_->blockSignals(true);
  scroll_->setValue(0);
  first_line_ = 0;
  if (lines > lines_per_screen_) {
    scroll_->setRange(0, lines - lines_per_screen_);
    scroll_->setPageStep(std::max(1, lines_per_screen_ - 1));
    scroll_->setSingleStep(1);
    scroll_->show();
  } else {
    scroll_->setRange(0, 0);
    scroll_->hide();
  }
  scroll_->blockSignals(false);
  update();
}

void TReportF::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ComputeMetrics();
}

void TReportF::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // A maximized window gets its size after it is shown; a new size lays the
  // report out again from its first line.
  if (isVisible()) ComputeMetrics();
}

void TReportF::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect area = ReportArea();
  p.fillRect(area, Qt::white);
  p.setClipRect(area);
  p.translate(area.topLeft());
  p.setBrush(Qt::NoBrush);
  const int last = std::min(first_line_ + lines_per_screen_ - 1, doc_.LastLine());
  const int width = area.width();
  int y = 0;
  for (int line = first_line_; line <= last; ++line) {
    y = PaintReportLine(p, doc_, line, font_, metrics_, y, width, [&](int top) {
      QPen dotted(Qt::black, 0, Qt::DotLine);
      p.setPen(dotted);
      const int mid = top + metrics_.line_height / 2;
      p.drawLine(0, mid, width - 1, mid);
      return top;
    });
  }
}

void TReportF::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 40;
  scroll_->setValue(scroll_->value() - steps);
  event->accept();
}

void TReportF::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Down: scroll_->triggerAction(QAbstractSlider::SliderSingleStepAdd); return;
    case Qt::Key_Up: scroll_->triggerAction(QAbstractSlider::SliderSingleStepSub); return;
    case Qt::Key_PageDown: scroll_->triggerAction(QAbstractSlider::SliderPageStepAdd); return;
    case Qt::Key_PageUp: scroll_->triggerAction(QAbstractSlider::SliderPageStepSub); return;
    case Qt::Key_Home: scroll_->triggerAction(QAbstractSlider::SliderToMinimum); return;
    case Qt::Key_End: scroll_->triggerAction(QAbstractSlider::SliderToMaximum); return;
    default: QDialog::keyPressEvent(event);
  }
}

void TReportF::PrintClicked() { PrintReportDocument(doc_, report_font_, printer_, ui_); }

void TReportF::ExportClicked(bool tabs) {
  ExportReport(doc_, tabs ? ExportLayout::kTabs : ExportLayout::kText, ui_);
}

}  // namespace kpr
