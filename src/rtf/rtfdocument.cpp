#include "rtf/rtfdocument.h"

#include <QString>
#include <QStringList>

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

}  // namespace

bool WriteRtfHeader(tk::TextOutputStream& out, RtfDocument document) {
  switch (document) {
    case RtfDocument::Statement:
      return out.WriteLines({kRtfStart, QStringLiteral("{\\fonttbl\\f0\\fttruetype Times New Roman;}"), kColours,
                             kPortrait, kTabStops, QString()});
    case RtfDocument::GeneralResults:  // "\fftruetype" on purpose: see RtfDocument
      return out.WriteLines({kRtfStart, QStringLiteral("{\\fonttbl\\f0\\fftruetype Times New Roman;}"), kColours,
                             kPortrait, kTabStops, QString()});
    case RtfDocument::SellerCards:
      return out.WriteLines(
          {kRtfStart, QStringLiteral("{\\fonttbl\\f0\\fttruetype Arial;}"), kColours, kLandscape, kTabStops});
  }
  return false;
}

bool WriteRtfEnd(tk::TextOutputStream& out) { return out.WriteLine(QStringLiteral("}")); }

bool WriteResultsPageEnd(tk::TextOutputStream& out) { return out.WriteLine(QStringLiteral("\\pard\\par\\page")); }
