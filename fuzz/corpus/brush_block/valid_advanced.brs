Brush
Value 1
xsize 5
ysize 5
Type 65536
MaskExpr "x*x+y*y<1"
DataExpr "cos(r*pi/2)"
BrushEnd
