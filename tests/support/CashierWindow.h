#pragma once

#include <QRect>

#include "shell/window/MainWindow.h"

namespace zelvo {

class CLocalDb;
class OperationServices;

namespace test {

// The cashier's main window set up as the program sets it up on `workArea`: the layout scaled
// to it, the operation pages of `operations` (with no system printers) and the shell's pages.
// Callers add what their case needs (keys, texts) before making the window.
MainWindowSetup CashierWindowSetup(CLocalDb& db, OperationServices& operations,
                                   const QRect& workArea);

// Logs the demo operator "01" in as the operator does: both boxes filled, Enter in the
// password box. False when the window shows no login panel.
bool LogInDemoOperator(MainWindow& window);

}  // namespace test
}  // namespace zelvo
