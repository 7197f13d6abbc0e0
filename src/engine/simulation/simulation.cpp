#include "engine/simulation/simulation_impl.h"

namespace evo {

template class BasicSimulation<PopulationFile>;

}  // namespace evo
