// dspace: secular lunar-solar effects and the numerical integration of the resonance terms
// (Hoots and Roehrich 1980, Section 10, DEEP "entrance for deep space secular effects";
// Vallado et al. 2006, dspace).
#include <cmath>
#include <initializer_list>
#include <numbers>

#include "sgp4prop/sgp4_record.hpp"

namespace sgp4 {
namespace {

constexpr double kRptim = 4.37526908801129966e-3;  // Earth rotation, rad/min
// Phases of the resonance terms.
constexpr double kFasx2 = 0.13130908, kFasx4 = 2.8843198, kFasx6 = 0.37448087;
constexpr double kG22 = 5.7686396, kG32 = 0.95240898, kG44 = 1.8014998, kG52 = 1.0508330,
                 kG54 = 4.4108898;
// Integration step (minutes) and half its square.
constexpr double kStep = 720.0;
constexpr double kStep2 = 259200.0;

// Rates of the resonance variables at (xli, xni): dn/dt, dL/dt and d2n/dt2.
struct Rates {
  double xndt, xldot, xnddt;
};

Rates ResonanceRates(const Record& rec, double atime, double xli, double xni) {
  const Resonance& r = rec.ds.res;
  Rates out{};
  out.xldot = xni + r.xfact;
  if (r.irez != 2) {
    out.xndt = r.del1 * std::sin(xli - kFasx2) + r.del2 * std::sin(2.0 * (xli - kFasx4)) +
               r.del3 * std::sin(3.0 * (xli - kFasx6));
    out.xnddt = r.del1 * std::cos(xli - kFasx2) + 2.0 * r.del2 * std::cos(2.0 * (xli - kFasx4)) +
                3.0 * r.del3 * std::cos(3.0 * (xli - kFasx6));
  } else {
    const double xomi = rec.argpo + rec.argpdot * atime;
    const double x2omi = xomi + xomi;
    const double x2li = xli + xli;
    out.xndt = r.d2201 * std::sin(x2omi + xli - kG22) + r.d2211 * std::sin(xli - kG22) +
               r.d3210 * std::sin(xomi + xli - kG32) + r.d3222 * std::sin(-xomi + xli - kG32) +
               r.d4410 * std::sin(x2omi + x2li - kG44) + r.d4422 * std::sin(x2li - kG44) +
               r.d5220 * std::sin(xomi + xli - kG52) + r.d5232 * std::sin(-xomi + xli - kG52) +
               r.d5421 * std::sin(xomi + x2li - kG54) + r.d5433 * std::sin(-xomi + x2li - kG54);
    out.xnddt =
        r.d2201 * std::cos(x2omi + xli - kG22) + r.d2211 * std::cos(xli - kG22) +
        r.d3210 * std::cos(xomi + xli - kG32) + r.d3222 * std::cos(-xomi + xli - kG32) +
        r.d5220 * std::cos(xomi + xli - kG52) + r.d5232 * std::cos(-xomi + xli - kG52) +
        2.0 * (r.d4410 * std::cos(x2omi + x2li - kG44) + r.d4422 * std::cos(x2li - kG44) +
               r.d5421 * std::cos(xomi + x2li - kG54) + r.d5433 * std::cos(-xomi + x2li - kG54));
  }
  out.xnddt *= out.xldot;
  return out;
}

}  // namespace

void DsResonanceSteps(Record& rec) {
  Resonance& res = rec.ds.res;
  if (res.irez == 0) return;
  const auto kept = [](double xli, double xni, const Rates& rt) {
    return ResonanceStep{xli, xni, rt.xndt, rt.xldot, rt.xnddt};
  };
  const Rates at_epoch = ResonanceRates(rec, 0.0, res.xlamo, rec.no_unkozai);
  res.epoch = kept(res.xlamo, rec.no_unkozai, at_epoch);
  for (ResonanceStep* steps : {res.forward, res.backward}) {
    const double delt = steps == res.forward ? kStep : -kStep;
    double atime = 0.0;
    double xli = res.xlamo;
    double xni = rec.no_unkozai;
    Rates rt = at_epoch;
    for (int k = 0; k < kResonanceSteps; ++k) {
      xli += rt.xldot * delt + rt.xndt * kStep2;
      xni += rt.xndt * delt + rt.xnddt * kStep2;
      atime += delt;
      rt = ResonanceRates(rec, atime, xli, xni);
      steps[k] = kept(xli, xni, rt);
    }
  }
}

void DsSpace(const Record& rec, double t, double& em, double& argpm, double& inclm, double& mm,
             double& nodem, double& nm) {
  const DeepSpace& ds = rec.ds;
  em += ds.dedt * t;
  inclm += ds.didt * t;
  argpm += ds.domdt * t;
  nodem += ds.dnodt * t;
  mm += ds.dmdt * t;
  if (ds.res.irez == 0) return;

  // Euler-Maclaurin steps of 720 minutes from epoch, then a Taylor step to t.
  // NOTE: the paper's code keeps the last step between calls and continues from it; the steps
  // always start at epoch on the same grid, so starting over gives the same numbers and keeps
  // the record read-only.
  const double theta = FmodTwoPi(ds.gsto + t * kRptim);
  const double delt = t > 0.0 ? kStep : -kStep;
  // Start from the last kept step this integration passes (floor(|t| / step) steps in all), or
  // from epoch, with the rates kept there.
  const double steps = std::floor(std::fabs(t) / kStep);
  const ResonanceStep* kept = &ds.res.epoch;
  double atime = 0.0;
  if (steps >= 1.0) {
    const int k = steps > kResonanceSteps ? kResonanceSteps : static_cast<int>(steps);
    kept = t > 0.0 ? &ds.res.forward[k - 1] : &ds.res.backward[k - 1];
    atime = k * delt;
  }
  double xli = kept->xli;
  double xni = kept->xni;
  Rates rt{kept->xndt, kept->xldot, kept->xnddt};
  while (std::fabs(t - atime) >= kStep) {
    xli += rt.xldot * delt + rt.xndt * kStep2;
    xni += rt.xndt * delt + rt.xnddt * kStep2;
    atime += delt;
    rt = ResonanceRates(rec, atime, xli, xni);
  }
  const double ft = t - atime;
  nm = xni + rt.xndt * ft + rt.xnddt * ft * ft * 0.5;
  const double xl = xli + rt.xldot * ft + rt.xndt * ft * ft * 0.5;
  if (ds.res.irez != 1) {
    mm = xl - 2.0 * nodem + 2.0 * theta;
  } else {
    mm = xl - nodem - argpm + theta;
  }
  // Through the rate, as the paper writes it (the same value to rounding).
  const double dndt = nm - rec.no_unkozai;
  nm = rec.no_unkozai + dndt;
}

}  // namespace sgp4
