// Values that the pages accept but the calculation will refuse: each check returns why, in
// the program's words, or an empty text when the value is fine. The pages mark such a field
// (red frame, the reason as its tool tip) without blocking OK or Apply.
#pragma once

#include <string>

// A dimension (length, diameter, thickness) must be above zero.
std::string CheckDimension(double value);
// A bore must be non-negative and smaller than the outer diameter.
std::string CheckBore(double inner, double outer);
// A fillet or oil-hole radius must be non-negative and below the journal's radius.
std::string CheckJournalRadius(double radius, double journalDiameter);
// The crankpin keeps a positive length: L0 − 2·(L5 + RgalK + B) > 0.
std::string CheckPinLength(double L0, double L5, double RgalK, double B);
// A connecting rod must be longer than the crank radius plus the desaxial offset.
std::string CheckRodLength(double rodLength, double crankRadius, double dezax);
// A support compliance of zero or below describes no support the beam model can hold.
std::string CheckCompliance(double value);
// A mass or radius of the reduced system must not be negative.
std::string CheckNonNegative(double value);

// The tool tip of a marked field: "<field> = <value> <unit>: <reason>".
std::string WarningText(const std::string& field, double value, const std::string& unit, const std::string& reason);
