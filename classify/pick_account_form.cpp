#include "classify/pick_account_form.h"

#include "classify/account_chart.h"
#include "classify/pick_list_model.h"

namespace kpr {

PickAccountForm::PickAccountForm(DataStore& store, int& selection, const QString& account_kind,
                                 QWidget* parent)
    : PickListForm("TPickAcc", "Select Account", QSize(379, 370), 337,
                   {{"Number", 48}, {"Description", 240, true}, {"Deduct", 48}, {"RecNo", 80}},
                   selection, parent),
      store_(store),
      account_kind_(account_kind) {}

void PickAccountForm::FormShow() {
  const AccountChart chart(account_kind_);
  model()->SetHeading(2, chart.FlagHeading());
  std::vector<QStringList> rows;
  Table* t = chart.table(store_);
  const AccountRecord& r = chart.buffer(store_);
  t->SelectTag(chart.tag(store_));
  for (store_.LastResult = t->Top(); store_.LastResult != Table::kEndOfFile;
       store_.LastResult = t->Skip(1)) {
    if (t->Deleted()) continue;
    chart.Load(store_);
    rows.push_back({QString::number(r.AccNo), r.AcDesc, r.AcDed ? "Yes" : "No",
                    QString::number(t->RecNo())});
  }
  Fill(std::move(rows));
}

}  // namespace kpr
