// kpr: TARN Ledgerline, started in its data directory.
#include <QDir>
#include <cstdlib>
#include <iostream>

#include "app/dialog_ui_services.h"
#include "app/kpr_application.h"
#include "app/main_window.h"
#include "store/data_store.h"

int main(int argc, char** argv) {
  Q_INIT_RESOURCE(resources);
  kpr::KprApplication app(argc, argv);
  kpr::DialogUiServices ui;
  app.set_ui(&ui);
  // The data directory is the directory the program starts in.
  kpr::DataStore store(QDir::currentPath().toStdString(), &ui);
  store.engine().set_exit_handler([](const std::string& message) {
    std::cerr << "kpr: " << message << "\n";
    std::exit(EXIT_FAILURE);
  });
  kpr::MainWindow window(store);
  ui.set_parent(&window);
  ui.set_progress(window.progress_box());
  if (!window.StartUp()) return EXIT_FAILURE;
  window.show();
  return app.exec();
}
