Brush
Value 2.00000
xsize 3
ysize 3
bias 0.50000
Type 12288
Lo -1.00000
Hi 1.00000
MaskExpr "1-r"
DataExpr "1-r"
Data
   0.00000,    0.50000,    0.00000, 
   0.50000,    1.00000,    0.50000, 
   0.00000,    0.50000,    0.00000, 
Mask
    0,     1,     0, 
    1,     1,     1, 
    0,     1,     0, 
Kernel
Size 3
Scale 1.00000
Symmetry 0
Wrap 0
Data
    0.00000,    0.00000,    0.00000,
    0.00000,    1.00000,    0.00000,
    0.00000,    0.00000,    0.00000,
KernelEnd
BrushEnd
