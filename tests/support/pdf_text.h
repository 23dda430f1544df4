#pragma once
// Reading printed PDF files back in tests with poppler's pdftotext and pdfinfo
// (package poppler-utils).

#include <array>
#include <string>
#include <vector>

// The text of each page of a PDF file, in reading layout; empty when the tool
// fails or the file is not a PDF.
std::vector<std::string> PdfPageTexts(const std::string& path);
// The page count that pdfinfo reports; -1 on failure.
int PdfPageCount(const std::string& path);
// The PDF files in a folder, sorted by name.
std::vector<std::string> PdfFilesIn(const std::string& folder);
// Pixels with ink (darker than near-white) on a page (from 1) rendered at
// dpi; -1 on failure.
int PdfInkPixels(const std::string& path, int page, int dpi);
// The box of the ink on a page (from 1) rendered at dpi, in pixels: left,
// top, right, bottom (inclusive); all -1 when there is no ink or on failure.
std::array<int, 4> PdfInkBox(const std::string& path, int page, int dpi);
