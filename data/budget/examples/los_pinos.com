Idx,Component,Unit,Quantity
1,"Spring intake (spring box)",unit,1
2,"Break pressure tank",unit,2
3,"Storage tank 10 m3",unit,1
4,"Valve box",unit,3
5,"Air release valve",unit,2
6,"Washout valve",unit,2
7,"Public tap stand",unit,6
8,"Chlorination unit",unit,1
