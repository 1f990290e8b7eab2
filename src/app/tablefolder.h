#pragma once

#include <QString>

// Where the user keeps rmr.csv and 定食.csv.
QString defaultTableFolder();
