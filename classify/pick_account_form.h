// TPickAcc: the account pick list of the chart AccountKind names, every
// live account in number order with its flag as "Yes" or "No".
// REQUIRES while shown: the chart's table open.
#pragma once

#include "classify/pick_list_form.h"

namespace kpr {

class DataStore;

class PickAccountForm : public PickListForm {
  Q_OBJECT
 public:
  // selection: SelAccount; account_kind: AccountKind, read on every show.
  PickAccountForm(DataStore& store, int& selection, const QString& account_kind,
                  QWidget* parent = nullptr);
  void FormShow() override;

 private:
  DataStore& store_;
  const QString& account_kind_;
};

}  // namespace kpr
