Brush
Value 2.00000
xsize 3
ysizeBrush xsize -7 ysize 0 bias -3 Type -1 Value 1/0 Lo sqrt(-1) Data 1 1 1 1 1 1 1 1 1 BrushEnd00 ,0   0.50000,    0.00000, 
   0.50000,    1.00000,  ' 0.50000, 
   0.00000,    0.50000,    0.00000, 
Mask
    0,     2,     0, 
    1,     1,     1, 
    0,    Brush xsize 2147<83647 ysize 21477 ysize 214747w307 47w307 D–ta 1 BrushEnd,    0.00000,    0.00000,
    0.20000,    1.00000,    0.00000,
    0.00000,    0.00000,    0.00000,
KernelEnd
BrushEnd
