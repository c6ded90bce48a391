// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A model header that reaches up into the user interface.
#include "ui/MainWindow.h"
