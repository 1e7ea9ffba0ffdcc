// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

// How alike two words are, 0 to 100: twice the characters of the common runs found by
// gestalt matching (the longest common run, then the same on its left and right parts),
// divided by the total length. Bytes compare exactly; letter case counts.
int Similarity(QByteArrayView word, QByteArrayView candidate);
