// The water's Fresnel shader binding: parameter handles kept for the life of the process and the
// fixed Fresnel and refraction constants fed every frame.
#include "water/water_shader.h"

#include "water/normal_map_texture.h"
#include "water/cube_maps.h"
#include "water/tiles.h"
#include "water/wave_field_texture.h"

#include <GL/gl.h>

float waterEyePosition[3] = {127.0f, 130.0f, -135.0f};
ShaderContext waterShaderContext;

static const float lightPosition[3] = {-600.0f, 600.0f, 194.0f};
static const float FRESNEL_BIAS = 0.6f;
static const float FRESNEL_SCALE = 0.5f;
static const float FRESNEL_POWER = 0.7f;
static const float ETA_RATIO = 0.7502437829971313f;

enum {
    POSITION,
    TEX_COORD,
    NORMAL,
    FRESNEL_BIAS_PARAMETER,
    FRESNEL_SCALE_PARAMETER,
    FRESNEL_POWER_PARAMETER,
    ETA_RATIO_PARAMETER,
    EYE_POSITION,
    LIGHT_POSITION,
    MODEL_VIEW_PROJ,
    MODEL_TO_WORLD,
    NORMAL_MAP_TEX_COORD,
    NORMAL_MAP,
    NORMALIZE_CUBE,
    NORMALIZE_CUBE_2,
    ENVIRONMENT_MAP,
    BOTTOM_MAP,
    WAVE_FIELD,
    WAVE_FIELD_ORIGIN,
    WAVE_FIELD_SCALE,
    WATER_PARAMETER_COUNT
};

// In the order they are looked up: the vertex program's, then the fragment program's; last, the local wave
// field's texture and its place on the sea.
static const char* const parameterNames[WATER_PARAMETER_COUNT] = {
    "position",       "texCoord",          "normal",       "fresnelBias",     "fresnelScale",
    "fresnelPower",   "etaRatio",          "eyePositionW", "lightPosition",   "ModelViewProj",
    "modelToWorld",   "normalMapTexCoord", "normalMap",    "normalizeCube",   "normalizeCube2",
    "environmentMap", "bottomMap",         "waveField",    "waveFieldOrigin", "waveFieldScale"};

static ShaderParameterHandle parameters[WATER_PARAMETER_COUNT];

void initWaterShader() {
    ShaderContext* context = &waterShaderContext;
    createShaderContext(context);
    if (createShaderProgramFromFile(context, SHADER_VERTEX, "v.cg", "vert"))
        loadShaderProgram(context, SHADER_VERTEX);
    if (createShaderProgramFromFile(context, SHADER_FRAGMENT, "f.cg", "frag"))
        loadShaderProgram(context, SHADER_FRAGMENT);
    for (int i = 0; i < WATER_PARAMETER_COUNT; ++i)
        parameters[i] = getNamedShaderParameter(context, parameterNames[i]);
    setShaderTextureParameter(context, parameters[NORMAL_MAP], normalMapTexture);
    setShaderTextureParameter(context, parameters[ENVIRONMENT_MAP], environmentCubeTexture);
    setShaderTextureParameter(context, parameters[BOTTOM_MAP], bottomCubeTexture);
    setShaderTextureParameter(context, parameters[NORMALIZE_CUBE], normalizeCubeTexture);
    setShaderTextureParameter(context, parameters[NORMALIZE_CUBE_2], normalizeCubeTexture);
    setShaderTextureParameter(context, parameters[WAVE_FIELD], waveFieldTexture);
    // The sky seen through moving ripples needs its mipmaps, but filtering within the nearest level looks
    // the same as blending two, and fetches half the texels.
    glBindTexture(GL_TEXTURE_CUBE_MAP, environmentCubeTexture);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
}

void bindWaterShader() {
    ShaderContext* context = &waterShaderContext;
    enableShaderProfile(context, SHADER_VERTEX);
    enableShaderProfile(context, SHADER_FRAGMENT);
    bindShaderProgram(context, SHADER_VERTEX);
    bindShaderProgram(context, SHADER_FRAGMENT);
    if (!shaderProgramInUse(context)) return;
    enableShaderClientState(context, parameters[POSITION]);
    enableShaderClientState(context, parameters[NORMAL]);
    enableShaderClientState(context, parameters[NORMAL_MAP_TEX_COORD]);
    enableShaderClientState(context, parameters[TEX_COORD]);
    setShaderMatrixParameterRowMajor(context, parameters[MODEL_TO_WORLD], waterModelToWorld);
    setShaderModelViewProjection(context, parameters[MODEL_VIEW_PROJ]);
    setShaderParameter3fv(context, parameters[EYE_POSITION], waterEyePosition);
    setShaderParameter3fv(context, parameters[LIGHT_POSITION], lightPosition);
    setShaderParameter1f(context, parameters[FRESNEL_BIAS_PARAMETER], FRESNEL_BIAS);
    setShaderParameter1f(context, parameters[FRESNEL_SCALE_PARAMETER], FRESNEL_SCALE);
    setShaderParameter1f(context, parameters[FRESNEL_POWER_PARAMETER], FRESNEL_POWER);
    setShaderParameter1f(context, parameters[ETA_RATIO_PARAMETER], ETA_RATIO);
    enableShaderTextureParameter(context, parameters[NORMAL_MAP]);
    enableShaderTextureParameter(context, parameters[NORMALIZE_CUBE]);
    enableShaderTextureParameter(context, parameters[NORMALIZE_CUBE_2]);
    enableShaderTextureParameter(context, parameters[ENVIRONMENT_MAP]);
    enableShaderTextureParameter(context, parameters[BOTTOM_MAP]);
    setShaderParameter2fv(context, parameters[WAVE_FIELD_ORIGIN], waveFieldOrigin);
    setShaderParameter1f(context, parameters[WAVE_FIELD_SCALE], waveFieldScale);
    enableShaderTextureParameter(context, parameters[WAVE_FIELD]);
}

void unbindWaterShader() {
    disableShaderProfile(&waterShaderContext, SHADER_FRAGMENT);
    disableShaderProfile(&waterShaderContext, SHADER_VERTEX);
}
