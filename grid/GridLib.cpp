// Placeholder so that the library has a source until its units arrive.
namespace kt_grid_unit {}
