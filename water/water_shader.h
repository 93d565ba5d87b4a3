// The water's Fresnel shader: the two programs "v.cg" (entry "vert") and "f.cg" (entry "frag"),
// their parameters and textures, bound around the water tiles every frame.
#pragma once

#include "platform/shader_program.h"

// World-space eye position; the display callback writes camX into the first component every frame.
extern float waterEyePosition[3];
extern ShaderContext waterShaderContext;

// Compiles and links the programs and looks up the parameters; after a compile or link error the
// water is drawn without the shader.
void initWaterShader();
// Binds the programs and feeds every parameter and texture; reads the current modelview-projection.
void bindWaterShader();
void unbindWaterShader();
