// The "Program Setup" page: the report font, the printer and orientation
// reports use, and the month and day the fiscal year starts. Every change of
// a stored setting rewrites the whole settings record from its buffer.
#pragma once

#include <QWidget>
#include <functional>

#include "app/app_state.h"
#include "store/data_store.h"

class QLineEdit;
class QPrinter;
class QPushButton;

namespace kpr {

class SetupPage : public QWidget {
  Q_OBJECT
 public:
  // Days per month for the fiscal year start (February always 28).
  static int DaysInMonth(int month);

  SetupPage(DataStore& store, AppState& state, QPrinter* printer, QWidget* parent = nullptr);

  // Start-up: ReportFont from the main window's font and the stored name and
  // size, the font and page setup lines, the fiscal year fields.
  void Fill(const QFont& window_font);

  // The handlers of the page's controls (public for tests).
  void FontClicked();
  void PageSetupClicked();
  // Leaving "Start Month:" / "Start Day:". False when the value was refused
  // (the field then gets the focus back). A text that is not a whole number
  // throws ConversionError; nothing is stored then.
  bool MonthLeft();
  bool DayLeft();

  // Seams for tests: the font dialog and the printer setup dialog.
  std::function<QFont(const QFont&)> choose_font;
  std::function<void(QPrinter*)> setup_printer;

  QString FontLine() const;
  QString PageSetupLine() const;

 signals:
  void HelpRequested(const QString& topic);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RefreshFontLine();
  void RefreshPageSetupLine();
  void StoreSettings();
  int WholeNumber(const QLineEdit* edit) const;

  DataStore& store_;
  AppState& state_;
  QPrinter* printer_;
  QLineEdit* font_line_;
  QLineEdit* page_line_;
  QLineEdit* month_;
  QLineEdit* day_;
  bool leaving_ = false;
};

}  // namespace kpr
