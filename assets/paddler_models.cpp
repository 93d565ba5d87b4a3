// The paddler's and the paddle's model files: a kneeling figure on a 54-bone skeleton with its clips,
// and the paddle, each with the images they name.
#include "assets/model_writer.h"
#include "assets/paddler_rig.h"
#include "assets/writers.h"

bool writePaddlerModels(const std::string& folder) {
    buildRigJoints();
    DraftModel paddler;
    paddler.name = "paddler";
    buildRigNodes(paddler);
    buildPaddlerMesh(paddler);
    buildPaddlerClips(paddler);
    DraftModel paddle;
    buildPaddleModel(paddle);
    return writeModelFile(folder, "K.man", paddler) && writeModelFile(folder, "K.pad", paddle) &&
           writePaddlerTextures(folder);
}
