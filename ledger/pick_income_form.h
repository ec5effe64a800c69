// TPickInc: the income pick list, on INC5 in IncDate order.
// REQUIRES while shown: INC5 open.
#pragma once

#include "ledger/pick_entry_form.h"

namespace kpr {

class PickIncomeForm : public PickEntryForm {
  Q_OBJECT
 public:
  // selection: SelIncome; default_folder: DefaultFolder, read at each show.
  PickIncomeForm(DataStore& store, int& selection, const int& default_folder,
                 QWidget* parent = nullptr);

 protected:
  Source source() const override;
  QStringList Row(uint32_t recno) override;
};

}  // namespace kpr
