#include "app/setup_page.h"

#include <QEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>

#include "app/guarded.h"
#include "store/conversion_error.h"

namespace kpr {

int SetupPage::DaysInMonth(int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month >= 1 && month <= 12 ? kDays[month - 1] : 0;
}

SetupPage::SetupPage(DataStore& store, AppState& state, QPrinter* printer, QWidget* parent)
    : QWidget(parent), store_(store), state_(state), printer_(printer) {
  choose_font = [this](const QFont& preset) {
    bool ok = false;
    QFont f = QFontDialog::getFont(&ok, preset, this, "Report Font");
    return ok ? f : preset;  // a cancelled dialog leaves its preset
  };
  setup_printer = [this](QPrinter* p) {
    QPageSetupDialog dialog(p, this);
    dialog.exec();
  };

  auto* font_button = new QPushButton("Report Font", this);
  font_button->setObjectName("BtnFont");
  font_button->setToolTip("Change font used in reports.");
  font_line_ = new QLineEdit(this);
  font_line_->setObjectName("Edit1");
  font_line_->setReadOnly(true);
  auto* page_button = new QPushButton("Page Setup", this);
  page_button->setObjectName("BtnPSetup");
  page_button->setToolTip("Change page layout/printer.");
  page_line_ = new QLineEdit(this);
  page_line_->setObjectName("Edit2");
  page_line_->setReadOnly(true);

  auto* box = new QGroupBox("  Fiscal Year Setup  ", this);
  box->setObjectName("GroupBox1");
  month_ = new QLineEdit(box);
  month_->setObjectName("MaskEdit3");
  month_->setInputMask("00; ");
  month_->setMaximumWidth(48);
  day_ = new QLineEdit(box);
  day_->setObjectName("MaskEdit4");
  day_->setInputMask("00; ");
  day_->setMaximumWidth(48);
  auto* box_layout = new QGridLayout(box);
  box_layout->addWidget(new QLabel("Start Month:", box), 0, 0);
  box_layout->addWidget(month_, 0, 1);
  box_layout->addWidget(new QLabel("Start Day:", box), 1, 0);
  box_layout->addWidget(day_, 1, 1);
  box_layout->setColumnStretch(2, 1);
  month_->installEventFilter(this);
  day_->installEventFilter(this);

  auto* help = new QPushButton("Help", this);
  help->setObjectName("BtnHelpSetup");

  auto* grid = new QGridLayout(this);
  grid->addWidget(font_button, 0, 0);
  grid->addWidget(font_line_, 0, 1);
  grid->addWidget(page_button, 1, 0);
  grid->addWidget(page_line_, 1, 1);
  grid->addWidget(box, 2, 0, 1, 2);
  grid->addWidget(help, 3, 1, Qt::AlignRight);
  grid->setRowStretch(4, 1);

  connect(font_button, &QPushButton::clicked, this, &SetupPage::FontClicked);
  connect(page_button, &QPushButton::clicked, this, &SetupPage::PageSetupClicked);
  connect(help, &QPushButton::clicked, this, [this] { emit HelpRequested("300"); });
}

void SetupPage::Fill(const QFont& window_font) {
  state_.ReportFont = window_font;
  const SettingsRecord& s = store_.Settings;
  if (!s.FontName.trimmed().isEmpty()) state_.ReportFont.setFamily(s.FontName.trimmed());
  if (s.FontSize > 0) state_.ReportFont.setPointSize(s.FontSize);
  RefreshFontLine();
  RefreshPageSetupLine();
  month_->setText(QString::number(s.FyMonth));
  day_->setText(QString::number(s.FyDay));
}

QString SetupPage::FontLine() const { return font_line_->text(); }
QString SetupPage::PageSetupLine() const { return page_line_->text(); }

void SetupPage::RefreshFontLine() {
  const QFont& f = state_.ReportFont;
  const int points = f.pointSize() > 0 ? f.pointSize() : qRound(f.pointSizeF());
  font_line_->setText(f.family() + "@" + QString::number(points));
}

void SetupPage::RefreshPageSetupLine() {
  if (QPrinterInfo::availablePrinterNames().isEmpty() || printer_ == nullptr ||
      printer_->outputFormat() == QPrinter::PdfFormat) {
    page_line_->setText("PDF file (no printer installed)-" +
                        QString(printer_ && printer_->pageLayout().orientation() ==
                                                QPageLayout::Landscape
                                    ? "Landscape"
                                    : "Portrait"));
    return;
  }
  page_line_->setText(printer_->printerName() +
                      (printer_->pageLayout().orientation() == QPageLayout::Landscape
                           ? "-Landscape"
                           : "-Portrait"));
}

void SetupPage::StoreSettings() {
  store_.OpenSettings();
  Status s = store_.StoreSettings();
  store_.engine().Close(store_.kpr1);
  store_.kpr1 = nullptr;
  if (!s.ok()) store_.ui().Warn(QString::fromStdString(s.message()));
}

void SetupPage::FontClicked() {
  state_.ReportFont = choose_font(state_.ReportFont);
  RefreshFontLine();
  store_.Settings.FontName = state_.ReportFont.family();
  store_.Settings.FontSize = state_.ReportFont.pointSize() > 0
                                 ? state_.ReportFont.pointSize()
                                 : qRound(state_.ReportFont.pointSizeF());
  StoreSettings();
}

void SetupPage::PageSetupClicked() {
  if (printer_ != nullptr) setup_printer(printer_);
  RefreshPageSetupLine();
}

int SetupPage::WholeNumber(const QLineEdit* edit) const {
  const QString text = edit->text().trimmed();
  bool ok = false;
  const int n = text.toInt(&ok);
  if (!ok) throw ConversionError::InvalidInteger(text);
  return n;
}

bool SetupPage::MonthLeft() {
  const int month = WholeNumber(month_);
  if (month < 1 || month > 12) {
    store_.ui().Inform("Month must be between 1 and 12");
    return false;
  }
  store_.Settings.FyMonth = month;
  if (DaysInMonth(month) < store_.Settings.FyDay) {
    store_.Settings.FyDay = DaysInMonth(month);
    day_->setText(QString::number(store_.Settings.FyDay));
  }
  StoreSettings();
  return true;
}

bool SetupPage::DayLeft() {
  const int day = WholeNumber(day_);
  if (day < 1 || day > DaysInMonth(store_.Settings.FyMonth)) {
    store_.ui().Inform("Invalid Day for Specified Month");
    return false;
  }
  store_.Settings.FyDay = day;
  StoreSettings();
  return true;
}

bool SetupPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !leaving_ && (watched == month_ || watched == day_)) {
    // A message box takes the focus too: do not run the check again for it.
    leaving_ = true;
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{leaving_};
    auto* edit = static_cast<QLineEdit*>(watched);
    bool ok = true;
    Guarded(store_.ui(), [&] { ok = edit == month_ ? MonthLeft() : DayLeft(); });
    if (!ok) QTimer::singleShot(0, edit, [edit] { edit->setFocus(); });
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kpr
