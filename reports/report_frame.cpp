#include "reports/report_frame.h"

#include "reports/t_report_f.h"

namespace kpr {

void ShowReport(ReportLayout& layout, const ReportEnvironment& env) {
  UiServices& ui = env.store.ui();
  if (!layout.Started() || layout.LastLine() < 0) {
    ui.Inform("Report contains no data.");
  } else {
    TReportF viewer(layout.document(), env.font, env.printer, ui, env.parent);
    ui.RunModal(&viewer);
  }
  layout.FreeReport();
}

}  // namespace kpr
