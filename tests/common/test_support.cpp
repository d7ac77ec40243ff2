// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"
