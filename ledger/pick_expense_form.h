// TPickExp: the expense pick list, on EXP5 in EDate order (date, then
// account number).
// REQUIRES while shown: EXP5 open.
#pragma once

#include "ledger/pick_entry_form.h"

namespace kpr {

class PickExpenseForm : public PickEntryForm {
  Q_OBJECT
 public:
  // selection: SelExpense; default_folder: DefaultFolder, read at each show.
  PickExpenseForm(DataStore& store, int& selection, const int& default_folder,
                  QWidget* parent = nullptr);

 protected:
  Source source() const override;
  QStringList Row(uint32_t recno) override;
};

}  // namespace kpr
