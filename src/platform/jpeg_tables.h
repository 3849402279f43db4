#pragma once
// A check that the JPEG decoder needs before it may see a file: its Huffman table
// builder writes one entry per code into a table of 256 codes without checking the
// count a file declares, so a table declaring more than 256 codes overruns it.

namespace orvendale::platform {

// Reads the open file `file` from its current offset to its end (or to the end of the
// image) and returns false when it is a JPEG (it begins with the start-of-image marker)
// and one of its Huffman tables declares more than 256 codes; true otherwise, also for
// every other format and for a read error, which the decoder meets in its turn. The
// tables are read as the decoder reads them: wherever a define-Huffman-table marker
// stands between segments or after entropy-coded data, table after table by their
// declared counts. The file offset is left wherever the scan stopped.
bool JpegHuffmanTablesFit(int file);

}  // namespace orvendale::platform
