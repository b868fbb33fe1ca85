#pragma once

#include <QString>
#include <QStringList>

// Numerals used for login attempts and paper sections: entry i (from 1) is the numeral for i.
extern const QStringList ChineseNumerals; // 一 … 十四
extern const QStringList RomanNumerals;   // Ⅰ Ⅱ Ⅲ: level names

// Numeral for n (1-based) or "" when out of range.
QString ChineseNumeral(int n);
QString RomanNumeral(int n);

// Whether an objective answer is right. type is the question type number as text ("1" judgement,
// "2" single choice, "5" multiple choice, "12" ordering); given and standard are the plain texts of
// the examinee's answer and the standard answer, already trimmed by the caller. Any other type is
// scored by hand and gives false.
bool CompareAnswer(const QString &type, const QString &given, const QString &standard);

// Full-width forms (U+FF01–U+FF5E) become their ASCII counterparts and the ideographic space a
// blank; every other character stays as it is.
QString ToHalfWidth(const QString &text);

// Centimetres to points: cm × 72 / 2.54, rounded to the nearest integer, ties to even.
int CmToPoints(double centimetres);
