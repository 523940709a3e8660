// Placeholders until the CSV interchange lands; they change nothing.
#include "layout/cLayout.h"

bool cLayout::ExportCSV(const std::string&) { return false; }
bool cLayout::ImportCSV(const std::string&) { return false; }
void cLayout::ExportCSVHeading(std::string&) const {}
void cLayout::ExportControlCSV(std::string&, const ControlRecord&) const {}
