#include "KorvatViewExtension.h"

#include "ProfilingDebugging/CpuProfilerTrace.h"
#include "SceneView.h"
#include "SceneViewExtensionContext.h"

#include "KorvatPluginModule.h"

FKorvatViewExtension::FKorvatViewExtension(const FAutoRegister& AutoRegister, FViewport* InViewport)
	: FSceneViewExtensionBase(AutoRegister)
	, Viewport(InViewport)
{
}

void FKorvatViewExtension::BeginRenderViewFamily(FSceneViewFamily& InViewFamily)
{
	TRACE_CPUPROFILER_EVENT_SCOPE(FKorvatPlugin::BeginRenderViewFamily);
	if (InViewFamily.Views.Num() == 0 || !IKorvatPlugin::IsAvailable())
	{
		return;
	}
	FKorvatPlugin& Plugin = FKorvatPlugin::GetLoaded();
	if (!Plugin.IsConnected())
	{
		return;
	}
	// The raw view size, then the final one, narrowed by the bars of a constrained aspect ratio.
	const FSceneView& View = *InViewFamily.Views[0];
	Plugin.SetViewports(0, 0, View.UnconstrainedViewRect.Width(), View.UnconstrainedViewRect.Height(), View.UnscaledViewRect.Width(),
		View.UnscaledViewRect.Height());
}

bool FKorvatViewExtension::IsActiveThisFrame_Internal(const FSceneViewExtensionContext& Context) const
{
	return Context.Viewport == Viewport;
}
