#include "binding/modules.hpp"
#include "enums/enum_binding.hpp"

namespace talvoran {

void fill_enums(nanobind::module_& m) {
  bind_enum<SAALKeyMode>(m);
  bind_enum<TimeSystem>(m);
  bind_enum<ReferenceFrame>(m);
  bind_enum<Classification>(m);
  bind_enum<KeplerianType>(m);
  bind_enum<EquinoxType>(m);
  bind_enum<GeodeticModel>(m);
  bind_enum<CovarianceType>(m);
  bind_enum<AssociationConfidence>(m);
}

}  // namespace talvoran
