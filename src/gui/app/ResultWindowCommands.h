#pragma once

namespace probex {

struct MainActions;
class ResultWindowManager;
class TFrmOVars;

/// Connects the menu items that open, raise, list and close result windows (View and Window
/// menus) and the output table's "View variable" to the result windows, and enables them.
void ConnectResultWindowCommands(MainActions& actions, ResultWindowManager& windows,
                                 TFrmOVars& outputVariables);

} // namespace probex
