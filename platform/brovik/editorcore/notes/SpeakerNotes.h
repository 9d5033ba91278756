#pragma once

#include <QString>
#include <vector>

namespace KX::Tovrin {

class ZipReader;

// The speaker notes of a presentation, one text per slide of the show in the order the importers
// give the slides (hidden slides left out the same way), paragraphs separated by line breaks.
// Read apart from the slides: only the presenter console wants them.

// An unreadable file, or one in neither format, has no notes.
std::vector<QString> readSpeakerNotes(const QString& path);
// From a PowerPoint package: the body placeholder of each slide's notes slide.
std::vector<QString> readPptxNotes(const ZipReader& zip);
// From an OpenDocument package: the notes frame inside each page's presentation:notes.
std::vector<QString> readOdpNotes(const ZipReader& zip);

} // namespace KX::Tovrin
