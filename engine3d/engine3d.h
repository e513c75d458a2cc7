// Engine3D.dll: Tessaryn's own small software 3D engine, reached by name through
// LoadLibraryA/GetProcAddress. Every entry point is __stdcall with plain names.
//
// Conventions
// - Right-handed world, y up. A camera stands where CameraLocate puts it and looks along -z;
//   it has a vertical field of view of 30 degrees over the height of its viewport.
// - CreateCamera(camera, x, y, width, height): the viewport in percent of the screen.
// - RotateEntity(entity, a, b, c): absolute angles in degrees; `a` turns about the vertical
//   y axis, `b` about x, `c` about z, each counter-clockwise seen from the positive end of
//   its axis. The model is rotated by R = Ry(a) * Rx(b) * Rz(c): c acts first, about the
//   model's own z axis, and the turn about the vertical comes last. So RotateEntity(e, 0, 90,
//   0) stands a level plane up as a wall facing +z, and with the box's axes (x depth, y
//   height, z width) `a` turns the box on the floor and `c` tips it about its width.
// - ScaleEntity and ResizeEntity set absolute per-axis factors (x, y, z; default 1); the
//   mesh is drawn at scale times size. MoveEntity moves relative to the current position.
// - Creating an object under a number in use replaces it; the old one is freed once nothing
//   uses it. Handles (LoadTexture, MeshID, MaterialID) name one object; they are not reused.
// - LoadTexture and LoadMesh read the file anew at each call; a name is looked for in every
//   Add3DArchive folder in the order they were added, then as given.
// - Colours are 0x00BBGGRR. Failures return 0; calls on a number that names nothing do
//   nothing and return 0.
// - Model data: box.mesh is a cube of edge 1 centred on its origin (ResizeEntity(5, 5, 5)
//   makes it 5 units) with x the depth, y the height and z the width; land.mesh is a level
//   square of edge 200 at y = 0. With the box at (0, 0, 20) and the camera at (0, 0, 47),
//   the default box fills about half the preview.
// - Rendering: perspective-correct, bilinear filtered (MaterialFilteringMode 1, the
//   default; 0 samples the nearest texel), mip-mapped textures, a depth buffer, back faces
//   culled (front faces wind counter-clockwise seen from outside), 4 samples per pixel for
//   smooth edges. RenderWorld draws every camera into the back buffer, black where no
//   surface is, sharing the rows with one system pool thread until it returns. Materials
//   with lighting disabled show their texture unlit.
// - Exports: RenderCameraRows draws one camera's view, as the screen would show it if it
//   were width x height pixels, into the caller's memory, a band of rows per call so that the
//   caller bounds its memory and can tell progress. It takes 4, 16, 36 or 64 samples per
//   pixel and writes 32-bit B, G, R, A pixels, `pitch` bytes from one row to the next, with
//   straight alpha: the colour of the surfaces that cover the pixel and, as alpha, the share
//   of its samples they cover (0 where nothing is drawn, where RenderWorld shows black).
//   ExportHideEntity and ExportMaterialTexture change what exports show, never what
//   RenderWorld shows; the back buffer and the kept frame are not touched by an export.
// - Studio look, the same in RenderWorld and exports, kept by entity number (an entity made
//   again under its number keeps it; a number naming nothing is skipped at render time):
//   EntityStudioLight lights an entity's faces, one factor per triangle from its normal in
//   the world, with a fixed neutral white rig (a key light from the upper front right as the
//   program's start view shows the box, a soft fill from above), whatever the material's
//   lighting, never brighter than the picture: the face turned to the key shows its picture.
//   EntityShadow casts a soft shadow onto the level plane at the receiver entity's y, in two
//   parts: a contact shadow along where the entity touches the plane, darkest at its edges
//   and gone within a tenth of its height, fading out as the entity rises; and the key
//   light's shadow, falling slightly away from the light, softer and fainter the higher the
//   entity's lowest point floats (strength is the share of light both take where full). EntityMirror shows the entity upside down under that plane as a polished
//   floor would, from the mirror of its lowest point down: weight `strength` there, falling
//   linearly to 0 over `fade` times the entity's own height; its faces keep their picture
//   and lighting, and the receiver shows it over its shadowed colour. Strength 0 switches a
//   shadow or mirror image off. A receiver left out of an export (ExportHideEntity) still
//   catches them: the shadow as black with alpha s, the mirror image of weight w over it
//   with alpha w + s (1 - w) and straight colour, nothing elsewhere. EntityRoundEdges draws
//   an entity whose mesh is a box (six axis-aligned faces, as box.mesh) with its twelve
//   edges rounded, radius share x its smallest drawn side; each face's picture keeps its
//   place and wraps over its half of the rounding, which the rig lights by its own normals.
//   Its shadow and mirror image follow the rounded box; any other mesh stays as it is.
//   EntityShape draws an entity whose mesh is a box as a book or a media case filling the
//   box's drawn extent, x the depth (front cover at -x), y the height, z the width: the
//   front and back pictures are the covers, the left side's the spine, the top, right and
//   bottom pictures the page edges (a book) or the open edges (a case). A paperback's cover
//   card (0.3 mm) wraps front, spine and back round the page block, its spine bent round
//   with EntityRoundEdges; a hardcover's boards (2.5 mm) stand 3 mm over the pages at top,
//   bottom and fore-edge, round a rounded spine, with the joint's groove beside it; a media
//   case (kind 3 a DVD case, 4 a Blu-ray case) has rounded corners (4 mm), and its front,
//   back and spine pictures lie as its insert inside its rim (a Blu-ray case's below the band
//   across its top), which shows the top picture, as the open edges do. The case's clear
//   sleeve mirrors the studio rig's lights where EntityStudioLight lights it. The cut edges
//   of a cover or board show its picture's edge. Shadows and mirror images follow the shape.
#pragma once

#include <cstdint>

#define ENGINE3D_CALL __stdcall

#ifdef __cplusplus
extern "C" {
#endif

// initialisers: every one returns 1; InitEngine3D starts the engine
int ENGINE3D_CALL InitEngine3DFirst(void);
int ENGINE3D_CALL InitCamera(void);
int ENGINE3D_CALL InitTexture(void);
int ENGINE3D_CALL InitEntity(void);
int ENGINE3D_CALL InitLight(void);
int ENGINE3D_CALL InitMaterial(void);
int ENGINE3D_CALL InitMesh(void);
int ENGINE3D_CALL InitEngine3D(void);
// kind is ignored: every archive is a plain folder
int ENGINE3D_CALL Add3DArchive(const char* folder, int kind);
// the engine has no script files: 1
int ENGINE3D_CALL Parse3DScripts(void);

// screen: one window, DirectDraw 7, back buffer of width x height
int ENGINE3D_CALL OpenScreen3D(int width, int height, int depth, const char* title, int flags,
                               void* window);
// the back buffer with a reference for the caller (IDirectDrawSurface7*)
void* ENGINE3D_CALL GetBackBuffer2(void);
// the engine's IDirectDraw7, still owned by the engine (no reference added)
void* ENGINE3D_CALL GetDirectDraw7(void);
// presents the back buffer into the window's whole client area
int ENGINE3D_CALL FlipBuffers2(void);
// presents the back buffer into a rectangle in screen coordinates, stretching as needed
int ENGINE3D_CALL FlipWindowedBuffers(int left, int top, int right, int bottom);
// frees every object and the display
int ENGINE3D_CALL Quit(void);

// meshes (Wavefront OBJ text: v, vt, vn, f)
int ENGINE3D_CALL LoadMesh(int mesh, const char* file);
int ENGINE3D_CALL MeshID(int mesh);
int ENGINE3D_CALL FreeMesh(int mesh);

// textures: JPEG, PNG or BMP files
int ENGINE3D_CALL LoadTexture(int texture, const char* file);
int ENGINE3D_CALL FreeTexture(int texture);

// materials
int ENGINE3D_CALL CreateMaterial(int material, int texture_handle);
int ENGINE3D_CALL FreeMaterial(int material);
int ENGINE3D_CALL MaterialID(int material);
int ENGINE3D_CALL DisableMaterialLighting(int material, int disable);
int ENGINE3D_CALL MaterialAmbientColor(int material, int color);
int ENGINE3D_CALL MaterialSpecularColor(int material, int color);
int ENGINE3D_CALL MaterialFilteringMode(int material, int mode);

// entities
int ENGINE3D_CALL CreateEntity2(int entity, int mesh_handle, int material_handle, float x,
                                float y, float z);
int ENGINE3D_CALL FreeEntity(int entity);
int ENGINE3D_CALL CopyEntity(int source, int copy);
int ENGINE3D_CALL ScaleEntity(int entity, float x, float y, float z);
int ENGINE3D_CALL MoveEntity(int entity, float x, float y, float z);
int ENGINE3D_CALL RotateEntity(int entity, float a, float b, float c);
int ENGINE3D_CALL ResizeEntity(int entity, float x, float y, float z);
int ENGINE3D_CALL IsEntity(int entity);

// cameras and lights
int ENGINE3D_CALL CreateCamera(int camera, float x, float y, float width, float height);
int ENGINE3D_CALL CameraLocate(int camera, float x, float y, float z);
int ENGINE3D_CALL CreateLight2(int light, int color, float x, float y, float z);
int ENGINE3D_CALL LightLocate(int light, float x, float y, float z);

// studio look: 1 lights the entity with the studio rig, 0 gives back its own lighting
int ENGINE3D_CALL EntityStudioLight(int entity, int on);
// a soft shadow of the entity on the level plane at the receiver's y; strength 0: none
int ENGINE3D_CALL EntityShadow(int entity, int receiver, float strength);
// the entity mirrored in the receiver's level plane, fading over fade x its height
int ENGINE3D_CALL EntityMirror(int entity, int receiver, float strength, float fade);
// the entity's box mesh with its edges rounded, radius share x its smallest side; 0: sharp
int ENGINE3D_CALL EntityRoundEdges(int entity, float share);
// the entity's box mesh drawn as 1 a paperback, 2 a hardcover, 3 a media case, 0 the box,
// with unit_mm millimetres to a drawn unit
int ENGINE3D_CALL EntityShape(int entity, int kind, float unit_mm);
// the triangles the entity is drawn with (shaped, rounded or its own mesh), at its drawn size
// about its origin, neither turned nor moved: per corner x, y, z, u, v, three corners a
// triangle, counter-clockwise seen from outside. Answers the number of triangles and writes
// them only when `capacity` triangles fit; 0 for no entity
int ENGINE3D_CALL EntityDrawnTriangles(int entity, float* corners, int capacity);

// draws the scene of every camera into the back buffer
int ENGINE3D_CALL RenderWorld(void);
// changes whenever RenderWorld leaves another picture in the back buffer than the one it
// left there before (a scene change that shows the same pixels leaves it), or fails
int ENGINE3D_CALL PictureNumber(void);

// exports
// a texture from 32-bit 0x00RRGGBB pixels, `pitch` bytes apart (negative: bottom-up rows)
int ENGINE3D_CALL LoadTexturePixels(int texture, const void* pixels, int width, int height,
                                    int pitch);
// exports show the material with this texture (a LoadTexture handle); 0 gives back its own
int ENGINE3D_CALL ExportMaterialTexture(int material, int texture_handle);
// 1: exports leave the entity out; 0: they show it again
int ENGINE3D_CALL ExportHideEntity(int entity, int hide);
// exports fill with this colour (0x00BBGGRR) what nothing covers, opaque, and lay the shadows
// and mirror images caught by a receiver left out over it, as that receiver would show them
// in this colour; -1 gives back the transparent background
int ENGINE3D_CALL ExportFlatBackdrop(int colour);
// exports show this window of the camera's view, enlarged to their whole picture: left, top,
// width and height in fractions of the view (0, 0, 1, 1 is the whole view; a window may
// reach beyond it); 0 for a window of no size
int ENGINE3D_CALL ExportViewWindow(float left, float top, float width, float height);
// rows first_row .. first_row + rows - 1 of the camera's view at width x height pixels
int ENGINE3D_CALL RenderCameraRows(int camera, int width, int height, int samples, int first_row,
                                   int rows, void* pixels, int pitch);

#ifdef __cplusplus
}
#endif
