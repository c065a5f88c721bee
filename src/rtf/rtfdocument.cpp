#include "rtf/rtfdocument.h"

#include <QString>
#include <initializer_list>

namespace {

const QString kRtfStart = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\cocoartf1038\\cocoasubrtf250");
const QString kColours = QStringLiteral("{\\colortbl;\\red255\\green255\\blue255;}");
const QString kTabStops = QStringLiteral(
    "\\pard\\tx566\\tx1133\\tx1700\\tx2267\\tx2834\\tx3401\\tx3968\\tx4535\\tx5102\\tx5669\\tx6236\\tx6803"
    "\\qc\\pardirnatural");
const QString kPortrait = QStringLiteral(
    "\\paperw11900\\paperh16840\\margl720\\margr720\\margt720\\margb720\\vieww17700\\viewh14120\\viewkind1");
const QString kLandscape = QStringLiteral(
    "\\paperw16840\\paperh11900\\margl720\\margr720\\margt720\\margb720\\vieww17700\\viewh14120\\viewkind1");

// Writes the lines in order, stopping at the first that cannot be written.
bool writeLines(tk::TextOutputStream& out, std::initializer_list<QString> lines) {
  for (const QString& line : lines)
    if (!out.WriteLine(line)) return false;
  return true;
}

}  // namespace

bool WriteRtfHeader(tk::TextOutputStream& out, RtfDocument document) {
  switch (document) {
    case RtfDocument::Statement:
      return writeLines(out, {kRtfStart, QStringLiteral("{\\fonttbl\\f0\\fttruetype Times New Roman;}"), kColours,
                              kPortrait, kTabStops, QString()});
    case RtfDocument::GeneralResults:
      return writeLines(out, {kRtfStart, QStringLiteral("{\\fonttbl\\f0\\fftruetype Times New Roman;}"), kColours,
                              kPortrait, kTabStops, QString()});
    case RtfDocument::SellerCards:
      return writeLines(
          out, {kRtfStart, QStringLiteral("{\\fonttbl\\f0\\fttruetype Arial;}"), kColours, kLandscape, kTabStops});
  }
  return false;
}

bool WriteRtfEnd(tk::TextOutputStream& out) { return out.WriteLine(QStringLiteral("}")); }

bool WriteResultsPageEnd(tk::TextOutputStream& out) { return out.WriteLine(QStringLiteral("\\pard\\par\\page")); }
