// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "documents/view/TextView.h"
