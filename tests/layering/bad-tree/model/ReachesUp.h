#pragma once
// A model header that reaches up into the user interface.
#include "ui/MainWindow.h"
