#pragma once
// The CSV heading line and the worked "Cycle Start" record with its line, shared by the export
// and import tests.

#include <string>

#include "layout/ControlRecord.h"

inline const std::string CsvHeadingLine =
    "\"rFunction\",\"rType\",\"rScreen\",\"rText\",\"rGText\",\"rBitMapPath\",\"rHoriz\",\"rVert\","
    "\"rLabel\",\"rColor\",\"rOEMCode\",\"rHotKey\",\"rFlash\",\"rRedGreen\",\"rFormat\","
    "\"rTabGroup\",\"rX1\",\"rY1\",\"rX2\",\"rY2\"\r\n";

inline const std::string CycleStartLine = " 1 , 4 , 0 ,\"Cycle Start\",\"\",\"\", 0 , 0 ,\"\", 0 , "
                                          "0 , 0 , 0 , 0 ,\"\", 0 , 10 , 20 , 110 , 60 \r\n";

inline ControlRecord CycleStartRecord() {
    ControlRecord r;
    r.rFunction = 1;
    r.rType = 4;
    r.rText = "Cycle Start";
    r.rX1 = 10;
    r.rY1 = 20;
    r.rX2 = 110;
    r.rY2 = 60;
    return r;
}
