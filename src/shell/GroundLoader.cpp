#include "shell/GroundLoader.h"

namespace trazmark {

CGroundLoader::CGroundLoader()
    : load_([](CRoadGround& ground, const RoadTerrainSettings& settings, const std::string& roadFolder,
               std::string& error, const LoadProgress& progress) {
        return ground.load(settings, roadFolder, error, progress);
      }) {}

std::uint64_t CGroundLoader::start(const RoadTerrainSettings& settings, const std::string& roadFolder,
                                   Finished finished) {
  // The job cancels and ends the load under way before the new one starts,
  // so at most one terrain is in memory twice (the shown one and the new one),
  // and a load that a newer one replaced says nothing: its result is stale.
  LoadFunction load = load_;
  return job_.start(
      [load, settings, roadFolder](CRoadGround& ground, std::string& error, const LoadProgress& progress) {
        return load(ground, settings, roadFolder, error, progress);
      },
      [finished = std::move(finished)](BackgroundResult<CRoadGround> done) {
        if (!finished) return;
        GroundLoadResult result;
        result.number = done.number;
        result.ground = std::move(done.value);
        result.cancelled = done.cancelled;
        result.error = std::move(done.error);
        finished(std::move(result));
      });
}

}  // namespace trazmark
