import QtQuick
import QtQuick.Shapes
import PeloraDravin

// Drawing over the live picture. Disabled it keeps showing its strokes but is otherwise clear
// and takes no pointer events, so the picture's own drag and pinch work through it.
Item {
    id: annotationView

    property AnnotationLayerModel model: AnnotationLayerModel {}

    anchors.fill: parent

    // A faint wash tells the user that drags now draw.
    Rectangle {
        anchors.fill: parent
        color: "white"
        opacity: 0.1
        visible: annotationView.enabled
    }

    Item {
        anchors.fill: parent
        // One multisampled layer for all strokes gives smooth edges without a layer per stroke.
        // It costs a full-size texture, so only while there is something to draw; the software
        // renderer antialiases each Shape itself.
        layer.enabled: shapeRepeater.count > 0 && GraphicsInfo.api !== GraphicsInfo.Software
        layer.samples: 4

        Repeater {
            id: shapeRepeater
            model: annotationView.model ? annotationView.model.nbShapes : null
            delegate: NBShapeView {
                required property NBShape nbShape
                shape: nbShape
            }
        }
    }

    DragHandler {
        target: null
        // Any movement is a stroke, as small as a dot.
        dragThreshold: 0
        // The move that makes the drag active reports its centroid before activation.
        onActiveChanged: {
            if (!annotationView.model) return
            if (active) annotationView.model.dragChanged(centroid.position)
            else annotationView.model.dragEnded()
        }
        onCentroidChanged: {
            if (active && annotationView.model)
                annotationView.model.dragChanged(centroid.position)
        }
    }

    onEnabledChanged: if (!enabled && model) model.dragEnded()

    // One entry of the list, drawn by its kind; a missing or unknown shape draws nothing.
    component NBShapeView: Item {
        id: shapeView
        property NBShape shape

        anchors.fill: parent

        FreehandView {
            anchors.fill: parent
            nbShape: shapeView.shape as NBShapeFreehand
        }
        NBShapeRectangleView {
            nbShape: shapeView.shape as NBShapeRectangle
        }
    }

    component FreehandView: Shape {
        id: freehand
        property NBShapeFreehand nbShape
        // A single point still shows, as a round dot.
        readonly property var path: {
            if (!nbShape) return []
            const points = nbShape.points
            if (points.length !== 1) return points
            return [points[0], Qt.point(points[0].x + 0.01, points[0].y)]
        }

        visible: !!nbShape
        antialiasing: true

        ShapePath {
            strokeColor: freehand.nbShape ? freehand.nbShape.color : "transparent"
            strokeWidth: freehand.nbShape ? freehand.nbShape.thickness : 0
            fillColor: "transparent"
            capStyle: ShapePath.RoundCap
            joinStyle: ShapePath.RoundJoin
            miterLimit: 10
            PathPolyline { path: freehand.path }
        }
    }

    // The outline is centred on the box's edges, the box centred on the shape's (x, y).
    component NBShapeRectangleView: Item {
        id: rectangleView
        property NBShapeRectangle nbShape

        x: nbShape ? nbShape.x - width / 2 : 0
        y: nbShape ? nbShape.y - height / 2 : 0
        width: nbShape ? nbShape.width : 0
        height: nbShape ? nbShape.height : 0
        visible: !!nbShape && (width > 0 || height > 0)

        Shape {
            anchors.fill: parent
            antialiasing: true

            ShapePath {
                strokeColor: rectangleView.nbShape ? rectangleView.nbShape.color : "transparent"
                strokeWidth: rectangleView.nbShape ? rectangleView.nbShape.thickness : 0
                fillColor: "transparent"
                capStyle: ShapePath.RoundCap
                joinStyle: ShapePath.RoundJoin
                miterLimit: 10
                PathPolyline {
                    path: [Qt.point(0, 0), Qt.point(rectangleView.width, 0),
                        Qt.point(rectangleView.width, rectangleView.height),
                        Qt.point(0, rectangleView.height), Qt.point(0, 0)]
                }
            }
        }

        TapHandler {
            onTapped: if (rectangleView.nbShape) rectangleView.nbShape.tapped()
        }
    }
}
