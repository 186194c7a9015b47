// The picture of the layout page: the crank star seen along the shaft from its front end
// (every throw at its angular position, the rows' cylinder axes, throw numbers) and the
// schematic of sections and rows with the cylinder numbers. Unit lengths, y up.
#pragma once

#include <vector>

#include "EngineDataStructUnit.h"
#include "SketchUnit.h"

// Angular position of the throw of section s, rad in [0, 2π), counted from the cylinder
// axis of row 1 in the direction of rotation: the throw reaches that axis (top dead centre
// of its row-1 cylinder) when the shaft has turned by the cylinder's firing angle, so it
// stands that angle behind it.
double ThrowAngle(double fireAngleRow1);

// Angle of row r's cylinder axis from row 1's, rad in [0, 2π): the crank turns by it from
// firing in row 1 to firing in row r of the same throw (the firing angles of section 1).
double RowAxisAngle(double fireAngleRow1, double fireAngleRowR);

// Crank star: throws as spokes of radius 1 (throws sharing a position share one label,
// "1, 8"), cylinder axes as dashed lines out to 1.6 (broken where the throw labels stand)
// labelled with the row number.
// Front view: x to the right, y up, rotation clockwise.
TSketch CrankStarSketch(int nSec, int nRad, const TSectionRowArray<double>& fireAngle);

// Sections along the shaft (x) and rows across (y, row 1 at the top): one cell per cylinder
// with its number s + nSec·(r − 1); a cut-out cylinder is drawn dashed.
TSketch LayoutSchemeSketch(int nSec, int nRad, const TSectionRowArray<bool>& enabled);
