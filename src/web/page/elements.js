// The page's elements the script works with, found once by their ids in index.html.
export function findElements(document) {
  const byId = (id) => document.getElementById(id);
  return {
    message: byId('message'),
    menu: byId('menu'),
    loading: byId('loading'),
    items: byId('menu-items'),
    picture: byId('picture'),
    back: byId('back'),
    fullscreen: byId('fullscreen'),
    stage: byId('stage'),
    canvas: byId('canvas'),
    frameLink: byId('frame-link'),
    pause: byId('pause'),
    speed: byId('speed'),
    parametersToggle: byId('parameters-toggle'),
    parameters: byId('parameters'),
    description: byId('picture-description'),
    console: byId('console'),
    savePng: byId('save-png'),
    gifToggle: byId('gif-toggle'),
    gifPanel: byId('gif-panel'),
    gifSeconds: byId('gif-seconds'),
    gifFps: byId('gif-fps'),
    recordGif: byId('record-gif'),
    gifRecording: byId('gif-recording'),
    gifProgress: byId('gif-progress'),
    gifCancel: byId('gif-cancel'),
    gifStatus: byId('gif-status'),
  };
}
