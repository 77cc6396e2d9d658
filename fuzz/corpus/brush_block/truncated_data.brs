Brush
Value 2.00000
xsize 3
ysize 3
Data
 0.5, 0.5, 0.5,
 0.5,