#pragma once

namespace fenlark {

// Links the workbook deflate level below into any program that writes workbooks; does nothing.
void useFastWorkbookDeflate();

} // namespace fenlark
