XA_TOPO_RA: int = 0

XA_TOPO_DEC: int = 1

XA_TOPO_AZ: int = 2

XA_TOPO_EL: int = 3

XA_TOPO_RANGE: int = 4

XA_TOPO_RADOT: int = 5

XA_TOPO_DECDOT: int = 6

XA_TOPO_AZDOT: int = 7

XA_TOPO_ELDOT: int = 8

XA_TOPO_RANGEDOT: int = 9

XA_TOPO_SIZE: int = 10

XA_RAE_RANGE: int = 0

XA_RAE_AZ: int = 1

XA_RAE_EL: int = 2

XA_RAE_RANGEDOT: int = 3

XA_RAE_AZDOT: int = 4

XA_RAE_ELDOT: int = 5

XA_RAE_SIZE: int = 6

YROFEQNX_2000: int = 2

YROFEQNX_CURR: int = 1
