// The grid's drop source and drop target.
#include "gridedit/GridDropTarget.h"
