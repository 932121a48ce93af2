// The PDF printer drawn with Qt, for strux-pdf and for test programs.
#pragma once

namespace cli {

// Makes `strux report -o FILE.pdf` draw with Qt's PDF writer in this process.
void usePdfPrinterOfQt();

}  // namespace cli
