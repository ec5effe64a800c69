// A pick list of the pick-and-edit loop: a grid of rows, Select, New and
// Exit. It talks to the loop only through the selection code it is given:
// a chosen row sets it to the row's record number (the hidden last column),
// New to 0, Exit to -1; the window's close box leaves it unchanged.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

class QPushButton;
class QTableView;

namespace kpr {

class PickListModel;

class PickListForm : public QDialog {
  Q_OBJECT
 public:
  struct Column {
    QString heading;
    int width;                 // pixels; never narrower than the heading
    bool stretch = false;      // takes what the grid's width leaves
    const char* fit = nullptr;  // when set, never narrower than this text
  };
  // object_name: "TPickFol" or "TPickAcc"; grid_width: the grid's width in
  // pixels; columns: the last one holds the record number and stays hidden.
  PickListForm(const QString& object_name, const QString& caption, QSize size, int grid_width,
               std::vector<Column> columns, int& selection, QWidget* parent = nullptr);

  // Fills the list (rows as the model takes them); the row whose record
  // number equals the selection code becomes current, else the first row.
  void Fill(std::vector<QStringList> rows);
  // Fills the list with `count` rows made on demand by `source` (see
  // PickListModel::SetSource); row `current` becomes current.
  void FillFrom(int count, std::function<QStringList(int)> source, int current);

  // The grid's current row (0-based, -1 when none) and moving it.
  int current_row() const;
  void set_current_row(int row);
  QTableView* grid() const { return grid_; }
  PickListModel* model() const { return model_; }

  // Reads the table and fills the list; runs when the form is shown.
  virtual void FormShow() = 0;

  // Event handlers.
  void PickRow();  // BtnSelect, double click, Enter in the grid
  void BtnNewClick();
  void BtnExitClick();

 protected:
  // The buttons' object names, when they are not BtnSelect, BtnNew, BtnExit.
  void NameButtons(const char* select, const char* add, const char* exit);

  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  int& selection_;

 private:
  QTableView* grid_;
  PickListModel* model_;
  QPushButton* select_;
  QPushButton* add_;
  QPushButton* exit_;
};

}  // namespace kpr
